#include "ControllerFixture.h"

#include <gtest/gtest.h>

#include <thread>

TEST_F(ControllerFixture, ATreeChangeOnAnotherThreadReachesThePanelOnTheMainQueue)
{
    const auto unit = connectUnit();
    const auto& panel = controller->velmoraView()->baseClass();
    std::thread host([&] {
        treeParameter(*unit, 103).setValue(3);
        treeParameter(*unit, 107).setValue(0.125f);
    });
    host.join();
    EXPECT_EQ(panel.valueProcessingMode, 0);
    EXPECT_EQ(panel.valueMix, 1.0);
    clock.advance(0);
    EXPECT_EQ(panel.valueProcessingMode, 3);
    EXPECT_EQ(panel.valueMix, 0.125);
}

TEST_F(ControllerFixture, AUnitBuiltOnTheHostsThreadWhileTheDisplayRuns)
{
    const auto window = showInWindow();
    std::thread host([&] { createUnit(); });
    for (int tick = 0; tick < 20; ++tick) {
        clock.advance(0.1);
    }
    host.join();
    clock.advance(0.1);
    ASSERT_TRUE(controller->audioUnit());
    EXPECT_EQ(count(capture.lines(), "AU Diagnostics: Connected parameters to the plugins interface."), 1);
}
