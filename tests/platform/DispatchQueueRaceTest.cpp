#include "DispatchQueue.h"
#include "RunLoop.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kBlocksPerThread = 500;

void fromThreads(const std::function<void(int)>& body)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(body, t);
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

} // namespace

TEST(DispatchQueueRace, SerialQueueRunsBlocksFromManyThreadsOneAtATime)
{
    DispatchQueue queue("race.serial");
    int counter = 0; // deliberately not atomic: the queue is the only guard
    fromThreads([&](int) {
        for (int i = 0; i < kBlocksPerThread; ++i) {
            queue.async([&counter] { ++counter; });
        }
    });
    EXPECT_EQ(queue.sync([&] { return counter; }), kThreads * kBlocksPerThread);
}

TEST(DispatchQueueRace, MainQueueKeepsEachThreadsOrder)
{
    std::map<int, std::vector<int>> received;
    int total = 0;
    fromThreads([&](int t) {
        for (int i = 0; i < kBlocksPerThread; ++i) {
            DispatchQueue::main().async([&, t, i] {
                received[t].push_back(i);
                ++total;
            });
        }
    });
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return total == kThreads * kBlocksPerThread; }, 10.0));
    for (const auto& [thread, values] : received) {
        for (int i = 0; i < kBlocksPerThread; ++i) {
            ASSERT_EQ(values[static_cast<size_t>(i)], i) << "thread " << thread;
        }
    }
}

TEST(DispatchQueueRace, ThreadRunLoopFiresItsTimersOnItsOwnThreadUntilStopped)
{
    std::promise<RunLoop*> loopReady;
    std::atomic<int> ticks{0};
    std::atomic<bool> ranElsewhere{false};
    const auto mainId = std::this_thread::get_id();
    std::shared_ptr<Timer> timer;
    std::thread worker([&] {
        timer = Timer::scheduledTimer(0.001, true, [&](Timer&) {
            ++ticks;
            ranElsewhere = std::this_thread::get_id() != mainId;
        });
        loopReady.set_value(&RunLoop::current());
        RunLoop::current().run();
    });
    RunLoop* loop = loopReady.get_future().get();
    while (ticks < 5) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(ranElsewhere);
    EXPECT_FALSE(&RunLoop::current() == loop);
    loop->perform([loop] { loop->stop(); });
    worker.join();
    timer->invalidate();
}

TEST(DispatchQueueRace, TimerInvalidatedFromAnotherThreadStopsFiring)
{
    std::promise<std::pair<std::shared_ptr<Timer>, RunLoop*>> created;
    std::atomic<int> ticks{0};
    std::thread worker([&] {
        auto timer = Timer::scheduledTimer(0.001, true, [&](Timer&) { ++ticks; });
        created.set_value({timer, &RunLoop::current()});
        RunLoop::current().run();
    });
    auto [timer, loop] = created.get_future().get();
    while (ticks < 3) {
        std::this_thread::yield();
    }
    timer->invalidate();
    const int afterInvalidate = ticks.load() + 1; // one firing may be under way
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(ticks.load(), afterInvalidate);
    loop->perform([loop] { loop->stop(); });
    worker.join();
}

// The shell's waker runs on whichever thread posts; every post is heard.
TEST(DispatchQueueRace, MainLoopWakeHandlerHearsBlocksPostedFromManyThreads)
{
    std::atomic<int> wakes = 0;
    RunLoop::main().setWakeHandler([&] { wakes.fetch_add(1, std::memory_order_relaxed); });
    int ran = 0;
    fromThreads([&](int) {
        for (int i = 0; i < kBlocksPerThread; ++i) {
            DispatchQueue::main().async([&ran] { ++ran; });
        }
    });
    RunLoop::main().setWakeHandler({});
    RunLoop::main().runPending();
    EXPECT_EQ(wakes.load(), kThreads * kBlocksPerThread);
    EXPECT_EQ(ran, kThreads * kBlocksPerThread);
}
