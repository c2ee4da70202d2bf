#include "RenderErrorLog.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

TEST(RenderErrorLogTest, PrintsEveryReportedStatusInOrderByTheTimeItIsGone)
{
    std::mutex mutex;
    std::vector<AUAudioUnitStatus> printed;
    std::thread::id printingThread;
    {
        RenderErrorLog log([&](AUAudioUnitStatus status) {
            const std::lock_guard lock(mutex);
            printed.push_back(status);
            printingThread = std::this_thread::get_id();
        });
        log.report(-10874);
        log.report(-10876);
        log.report(-1);
    }
    EXPECT_EQ(printed, (std::vector<AUAudioUnitStatus> { -10874, -10876, -1 }));
    EXPECT_NE(printingThread, std::this_thread::get_id());
}

TEST(RenderErrorLogTest, NothingReportedPrintsNothing)
{
    int printed = 0;
    {
        RenderErrorLog log([&](AUAudioUnitStatus) { ++printed; });
    }
    EXPECT_EQ(printed, 0);
}
