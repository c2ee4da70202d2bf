#include "Console.h"
#include "ManualClock.h"
#include "RunLoop.h"
#include "Timer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

using ::testing::ElementsAre;

TEST(RunLoop, MainLoopIsTheMainThreadsCurrentLoop)
{
    EXPECT_TRUE(RunLoop::isMainThread());
    EXPECT_EQ(&RunLoop::current(), &RunLoop::main());
}

TEST(RunLoop, PerformedBlocksRunOnlyWhenTheLoopRunsAndInOrder)
{
    ManualClock clock;
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) {
        RunLoop::main().perform([&order, i] { order.push_back(i); });
    }
    EXPECT_TRUE(order.empty());
    RunLoop::main().runPending();
    EXPECT_THAT(order, ElementsAre(0, 1, 2, 3, 4));
}

TEST(RunLoop, RunPendingLeavesBlocksPostedDuringThePassForTheNextOne)
{
    ManualClock clock;
    int runs = 0;
    RunLoop::main().perform([&] {
        ++runs;
        RunLoop::main().perform([&] { ++runs; });
    });
    RunLoop::main().runPending();
    EXPECT_EQ(runs, 1);
    RunLoop::main().runPending();
    EXPECT_EQ(runs, 2);
}

TEST(RunLoop, RunReturnsAfterStopFromABlock)
{
    ManualClock clock;
    int before = 0;
    int after = 0;
    RunLoop::main().stop();
    RunLoop::main().perform([&] { ++before; });
    RunLoop::main().perform([] { RunLoop::main().stop(); });
    RunLoop::main().run();
    RunLoop::main().perform([&] { ++after; });
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);
    RunLoop::main().runPending();
    EXPECT_EQ(after, 1);
}

TEST(RunLoop, RunUntilWaitsForRealTimeTimers)
{
    int ticks = 0;
    const auto start = std::chrono::steady_clock::now();
    auto timer = Timer::scheduledTimer(0.02, true, [&](Timer&) { ++ticks; });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return ticks == 3; }, 5.0));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
    timer->invalidate();
}

TEST(RunLoop, RunUntilGivesUpAfterItsTimeout)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunLoop::main().runUntil([] { return false; }, 0.05));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

TEST(RunLoop, ThrowingBlockIsReportedAndTheNextBlockStillRuns)
{
    ManualClock clock;
    Console::Capture capture;
    bool nextRan = false;
    RunLoop::main().perform([] { throw std::logic_error("bad block"); });
    RunLoop::main().perform([&] { nextRan = true; });
    RunLoop::main().runPending();
    EXPECT_TRUE(nextRan);
    EXPECT_THAT(capture.lines(),
                ElementsAre("RunLoop::ERROR: A block threw an exception: bad block"));
}

TEST(RunLoop, LateRepeatingTimerFiresOnceAndKeepsItsSchedule)
{
    int ticks = 0;
    auto timer = Timer::scheduledTimer(0.01, true, [&](Timer&) { ++ticks; });
    std::this_thread::sleep_for(std::chrono::milliseconds(55));
    RunLoop::main().runPending();
    EXPECT_EQ(ticks, 1);
    timer->invalidate();
}

TEST(RunLoop, WakeHandlerHearsPostedBlocksNewTimersAndStopsAndLearnsTheNextDate)
{
    ManualClock clock;
    int wakes = 0;
    RunLoop::main().setWakeHandler([&] { ++wakes; });
    RunLoop::main().perform([] {});
    EXPECT_EQ(wakes, 1);
    EXPECT_TRUE(RunLoop::main().hasPostedBlocks());
    RunLoop::main().runPending();
    EXPECT_FALSE(RunLoop::main().hasPostedBlocks());

    const auto start = Clock::now();
    auto timer = Timer::scheduledTimer(0.25, false, [](Timer&) {});
    EXPECT_EQ(wakes, 2);
    EXPECT_EQ(RunLoop::main().nextFireDate(), start + std::chrono::milliseconds(250));
    timer->invalidate();
    EXPECT_FALSE(RunLoop::main().nextFireDate());

    RunLoop::main().stop();
    EXPECT_EQ(wakes, 3);
    RunLoop::main().setWakeHandler({});
    RunLoop::main().perform([] {});
    EXPECT_EQ(wakes, 3);
    RunLoop::main().runPending();
}
