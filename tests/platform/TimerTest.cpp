#include "Console.h"
#include "DispatchQueue.h"
#include "ManualClock.h"
#include "RunLoop.h"
#include "Timer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

struct Target {
    int ticks = 0;
};

double secondsSince(Clock::Duration start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

TEST(Timer, RepeatingTimerFiresOncePerElapsedInterval)
{
    ManualClock clock;
    int ticks = 0;
    auto timer = Timer::scheduledTimer(0.1, true, [&](Timer&) { ++ticks; });
    clock.advance(1.0);
    EXPECT_EQ(ticks, 10);
    clock.advance(0.05);
    EXPECT_EQ(ticks, 10);
    clock.advance(0.05);
    EXPECT_EQ(ticks, 11);
    clock.advance(30.0);
    EXPECT_EQ(ticks, 311);
    timer->invalidate();
    clock.advance(1.0);
    EXPECT_EQ(ticks, 311);

    auto once = Timer::scheduledTimer(0.5, false, [&](Timer&) { ++ticks; });
    clock.advance(0.4999);
    EXPECT_EQ(ticks, 311);
    clock.advance(10.0);
    EXPECT_EQ(ticks, 312);
    EXPECT_FALSE(once->isValid());
}

TEST(Timer, TimersFireOneAtATimeInTimeOrderAtTheirFireDates)
{
    ManualClock clock;
    const auto start = Clock::now();
    std::vector<std::string> fired;
    auto record = [&](const char* name) {
        return [&fired, &start, name](Timer&) {
            fired.push_back(std::string(name) + "@" + std::to_string(secondsSince(start)));
        };
    };
    auto slow = Timer::scheduledTimer(0.3, true, record("slow"));
    auto fast = Timer::scheduledTimer(0.2, true, record("fast"));
    auto once = Timer::scheduledTimer(0.25, false, record("once"));
    clock.advance(0.6);
    // At 0.6 both repeating timers are due; the one scheduled first goes first.
    EXPECT_THAT(fired, ElementsAre("fast@0.200000", "once@0.250000", "slow@0.300000",
                                   "fast@0.400000", "slow@0.600000", "fast@0.600000"));
    EXPECT_DOUBLE_EQ(clock.elapsed(), 0.6);
}

TEST(Timer, PostedBlocksRunBetweenFirings)
{
    ManualClock clock;
    std::vector<std::string> events;
    int tick = 0;
    auto timer = Timer::scheduledTimer(0.1, true, [&](Timer&) {
        const auto n = std::to_string(++tick);
        events.push_back("tick " + n);
        DispatchQueue::main().async([&events, n] {
            events.push_back("block " + n);
            DispatchQueue::main().async([&events, n] { events.push_back("nested " + n); });
        });
    });
    DispatchQueue::main().async([&] { events.push_back("before"); });
    clock.advance(0.2);
    EXPECT_THAT(events, ElementsAre("before", "tick 1", "block 1", "nested 1", "tick 2", "block 2",
                                    "nested 2"));
}

TEST(Timer, TimerInvalidatedFromItsOwnBlockStops)
{
    ManualClock clock;
    int ticks = 0;
    auto timer = Timer::scheduledTimer(0.1, true, [&](Timer& self) {
        if (++ticks == 3) {
            self.invalidate();
        }
    });
    clock.advance(1.0);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer->isValid());
}

TEST(Timer, RunningTimerKeepsItsTargetAliveUntilInvalidated)
{
    ManualClock clock;
    auto target = std::make_shared<Target>();
    std::weak_ptr<Target> watch = target;
    std::weak_ptr<Timer> timerWatch = Timer::scheduledTimer(
        0.1, true, [target](Timer& self) {
            if (++target->ticks == 5) {
                self.invalidate();
            }
            // Still alive here: the block's captures last until it returns.
            EXPECT_GT(target->ticks, 0);
        });
    target.reset();
    clock.advance(0.3);
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(watch.lock()->ticks, 3);
    clock.advance(0.2);
    EXPECT_TRUE(watch.expired());
    clock.advance(0.1);
    EXPECT_TRUE(timerWatch.expired());

    // Invalidating from outside releases the block and its captures at once.
    target = std::make_shared<Target>();
    watch = target;
    auto timer = Timer::scheduledTimer(0.1, true, [target](Timer&) { ++target->ticks; });
    target.reset();
    timer->invalidate();
    EXPECT_TRUE(watch.expired());
}

TEST(Timer, ThrowingBlockIsReportedAndTheTimerGoesOn)
{
    ManualClock clock;
    Console::Capture capture;
    int ticks = 0;
    auto repeating = Timer::scheduledTimer(0.1, true, [&](Timer&) {
        ++ticks;
        throw std::runtime_error("boom");
    });
    auto once = Timer::scheduledTimer(0.1, false, [](Timer&) { throw 7; });
    clock.advance(0.2);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(once->isValid());
    EXPECT_THAT(capture.lines(),
                ElementsAre("RunLoop::ERROR: A block threw an exception: boom",
                            "RunLoop::ERROR: A block threw an unknown exception.",
                            "RunLoop::ERROR: A block threw an exception: boom"));
    repeating->invalidate();
}

TEST(ManualClock, RefusesBackwardsTimeAndASecondClock)
{
    ManualClock clock;
    EXPECT_THROW(clock.advance(-0.1), std::invalid_argument);
    EXPECT_THROW(clock.advance(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
    EXPECT_THROW(ManualClock another, std::logic_error);
    const auto before = Clock::now();
    clock.advance(0.25);
    EXPECT_EQ(Clock::now() - before, std::chrono::milliseconds(250));
}

TEST(ManualClock, EndingTheClockDiscardsLeftoverTimersAndBlocks)
{
    auto target = std::make_shared<Target>();
    std::weak_ptr<Target> watch = target;
    std::shared_ptr<Timer> timer;
    bool blockRan = false;
    {
        ManualClock clock;
        timer = Timer::scheduledTimer(0.1, true, [target](Timer&) { ++target->ticks; });
        DispatchQueue::main().async([&] { blockRan = true; });
        target.reset();
    }
    EXPECT_FALSE(timer->isValid());
    EXPECT_TRUE(watch.expired());
    ManualClock next;
    next.advance(1.0);
    EXPECT_FALSE(blockRan);
}
