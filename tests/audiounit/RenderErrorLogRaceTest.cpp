#include "RenderErrorLog.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// A burst far beyond the ring's capacity: what arrives is in report order and
// nothing arrives twice; the ring drops only while the log's thread lags.
TEST(RenderErrorLogRaceTest, BurstFromARenderThreadArrivesInOrder)
{
    std::vector<AUAudioUnitStatus> printed;
    {
        RenderErrorLog log([&](AUAudioUnitStatus status) { printed.push_back(status); });
        std::thread render([&] {
            for (AUAudioUnitStatus status = 1; status <= 20000; ++status)
                log.report(status);
        });
        render.join();
    }
    ASSERT_GE(printed.size(), 64u);
    for (std::size_t i = 1; i < printed.size(); ++i)
        ASSERT_LT(printed[i - 1], printed[i]);
}
