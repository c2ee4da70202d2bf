#include "DispatchQueue.h"
#include "ManualClock.h"
#include "RunLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

using ::testing::ElementsAre;

TEST(DispatchQueue, MainQueueRunsOnTheMainRunLoopInOrder)
{
    ManualClock clock;
    std::vector<int> order;
    DispatchQueue::main().async([&] { order.push_back(1); });
    DispatchQueue::main().async([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    clock.advance(0);
    EXPECT_THAT(order, ElementsAre(1, 2));
    EXPECT_EQ(DispatchQueue::main().sync([] { return 42; }), 42);
}

TEST(DispatchQueue, MainSyncFromAnotherThreadWaitsForTheMainLoop)
{
    bool done = false;
    std::thread::id ranOn;
    DispatchQueue::global().async([&] {
        DispatchQueue::main().sync([&] { ranOn = std::this_thread::get_id(); });
        DispatchQueue::main().async([&] { done = true; });
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done; }, 10.0));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(DispatchQueue, SerialQueueRunsBlocksInOrderOffTheCallingThread)
{
    DispatchQueue queue("test.serial");
    EXPECT_EQ(queue.label(), "test.serial");
    std::vector<int> order;
    std::thread::id ranOn;
    for (int i = 0; i < 200; ++i) {
        queue.async([&order, i] { order.push_back(i); });
    }
    queue.async([&] { ranOn = std::this_thread::get_id(); });
    const auto size = queue.sync([&] { return order.size(); });
    EXPECT_EQ(size, 200u);
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(order[static_cast<size_t>(i)], i);
    }
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST(DispatchQueue, SyncOnTheQueueItIsRunningOnRunsInPlace)
{
    DispatchQueue queue("test.reentrant");
    const int result = queue.sync([&] { return queue.sync([] { return 7; }) + 1; });
    EXPECT_EQ(result, 8);
}

TEST(DispatchQueue, SyncPassesExceptionsToTheCaller)
{
    DispatchQueue queue("test.throwing");
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("inside"); }), std::runtime_error);
    EXPECT_EQ(queue.sync([] { return 1; }), 1);
}

TEST(DispatchQueue, GlobalQueueRunsBlocksOnOtherThreads)
{
    std::promise<std::thread::id> ranOn;
    DispatchQueue::global(DispatchQoS::userInitiated).async(
        [&] { ranOn.set_value(std::this_thread::get_id()); });
    EXPECT_NE(ranOn.get_future().get(), std::this_thread::get_id());
}

TEST(DispatchQueue, BlocksWaitingOnEachOtherDoNotStarveTheGlobalQueue)
{
    // Each block waits for the next one; a fixed small pool would deadlock.
    constexpr int kDepth = 16;
    std::vector<std::promise<void>> released(kDepth);
    std::promise<void> allDone;
    std::atomic<int> finished{0};
    for (int i = 0; i < kDepth; ++i) {
        DispatchQueue::global().async([&, i] {
            if (i + 1 < kDepth) {
                released[static_cast<size_t>(i) + 1].get_future().wait();
            }
            released[static_cast<size_t>(i)].set_value();
            if (++finished == kDepth) {
                allDone.set_value();
            }
        });
    }
    EXPECT_EQ(allDone.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
}
