#include "ShellTestSupport.h"

#include "DispatchQueue.h"
#include "GLibRunLoopSource.h"
#include "RunLoop.h"
#include "Timer.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Blocks in GLib's main context until it dispatches something; a guard
// wakes it after two seconds, which counts as a failure.
bool waitInGLib(const bool& guardFired)
{
    g_main_context_iteration(nullptr, TRUE);
    return !guardFired;
}

gboolean fireGuard(gpointer fired)
{
    *static_cast<bool*>(fired) = true;
    return G_SOURCE_CONTINUE;
}

} // namespace

// GLib sleeps until the run loop has work: a block posted from another
// thread or a timer that comes due wakes it; with nothing to do the run loop
// is not dispatched at all.
TEST(GLibRunLoopSource, WakesGLibForPostedBlocksAndDueTimersAndOtherwiseLetsItSleep)
{
    ASSERT_TRUE(gtkReady());
    int passes = 0;
    const GLibRunLoopSource source([&] { ++passes; });
    RunLoop::main().runPending();

    pumpFor(0.1);
    EXPECT_EQ(passes, 0);

    bool guardFired = false;
    const guint guard = g_timeout_add(2000, fireGuard, &guardFired);

    std::atomic<bool> ran = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        DispatchQueue::main().async([&] { ran = true; });
    });
    EXPECT_TRUE(waitInGLib(guardFired));
    poster.join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(passes, 1);

    int ticks = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto timer = Timer::scheduledTimer(0.05, false, [&](Timer&) { ++ticks; });
    while (ticks == 0 && !guardFired) {
        waitInGLib(guardFired);
    }
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(guardFired);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    g_source_remove(guard);
}
