#include "FakeViewController.h"
#include "VelmoraFlowViewBase.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(VelmoraFlowViewBaseTest, ColoursNamesAndModesStartAsDesigned)
{
    const VelmoraFlowViewBase panel;
    EXPECT_EQ(panel.colorEmphasize, UIColor(0.174, 0.637, 0.756, 1.0));
    EXPECT_EQ(panel.colorContrast, UIColor(0, 0, 0, 1));
    EXPECT_EQ(panel.colorContrastInverted, UIColor(1, 1, 1, 1));
    EXPECT_EQ(panel.colorWhite, UIColor(1, 1, 1, 1));
    EXPECT_EQ(panel.colorHotspots, UIColor(0.561, 0.8, 0.32, 0.128));
    EXPECT_EQ(panel.colorBlack, UIColor(0, 0, 0, 1));
    EXPECT_EQ(panel.colorTransparent, UIColor(0, 0, 0, 0));
    EXPECT_EQ(panel.noteNames.values[60], "C3");
    EXPECT_EQ(panel.valueProcessingMode, 0);
    EXPECT_EQ(panel.valueSpeedMode, 2);
    EXPECT_EQ(panel.valueOperationMode, 0);
    EXPECT_EQ(panel.labelMode, "STEREO");
    EXPECT_EQ(panel.labelMode2, "PITCH MODE");
    EXPECT_EQ(panel.labelDisplay, "Display 1200 Hz (C4)");
}

TEST(VelmoraFlowViewBaseTest, ValuesAndFlagsStartAsDesigned)
{
    const VelmoraFlowViewBase panel;
    const auto isFalse = [](bool flag) { return !flag; };
    EXPECT_TRUE(std::all_of(panel.isKeySelected.begin(), panel.isKeySelected.end(), isFalse));
    EXPECT_TRUE(std::all_of(panel.isHandleSelected.begin(), panel.isHandleSelected.end(), isFalse));
    EXPECT_TRUE(std::all_of(panel.valueHandle.begin(), panel.valueHandle.end(),
                            [](CGFloat value) { return value == 0.5; }));
    EXPECT_EQ(panel.valueMix, 0.5);
    EXPECT_EQ(panel.valueHorizontal, 0.5);
    EXPECT_EQ(panel.valueVertical, 0.5);
    EXPECT_EQ(panel.valueRangeLeft, 0.0);
    EXPECT_EQ(panel.valueRangeRight, 1.0);
    EXPECT_TRUE(panel.isCrossVisible);
    EXPECT_TRUE(panel.isRangeVisible);
    EXPECT_TRUE(panel.isDrawerVisible);
    for (const bool flag : {panel.isFreezeSelected, panel.isRangeLeftActive, panel.isRangeRightActive,
                            panel.isSliderActive, panel.isButtonResetActive, panel.isButtonFreezeActive,
                            panel.isOptionSpeedActive, panel.isOptionRangeActive, panel.isButtonModeMonoActive,
                            panel.isButtonModeLeftActive, panel.isButtonModeRightActive,
                            panel.isButtonModeMidActive, panel.isButtonModeSideActive, panel.isButtoOnOffActive}) {
        EXPECT_FALSE(flag);
    }
}

TEST(VelmoraFlowViewBaseTest, NoHitAreaHoldsAPointBeforeTheFirstDrawPass)
{
    const VelmoraFlowViewBase panel;
    const UIBezierPath* const paths[] = {
        &panel.hotspotFlowPath,        &panel.hotspotSliderPath,       &panel.hotspotDrawerPath,
        &panel.hotspotCaptionPath,     &panel.hotspotSpeedPath,        &panel.hotspotRangePath,
        &panel.hotspotButtonOnOffPath, &panel.hotspotCaption2Path,     &panel.hotspotKeysPath,
        &panel.hotspotButtonMonoPath,  &panel.hotspotButtonLeftPath,   &panel.hotspotButtonRightPath,
        &panel.hotspotButtonMidPath,   &panel.hotspotButtonSidePath,   &panel.hotspotResetPath,
        &panel.hotspotButtonFreezePath, &panel.hotspotLeftPath,        &panel.hotspotRightPath,
    };
    for (const UIBezierPath* path : paths) {
        EXPECT_TRUE(path->isEmpty());
        for (const CGPoint point : {CGPoint{0, 0}, CGPoint{300, 300}, CGPoint{60, 70}, CGPoint{450, 630}}) {
            EXPECT_FALSE(path->contains(point));
        }
    }
}

TEST(VelmoraFlowViewBaseTest, AudioUnitIsTheControllersWhileOneIsSet)
{
    VelmoraFlowViewBase panel;
    EXPECT_EQ(panel.audioUnit(), nullptr);

    FakeAudioUnit unit;
    auto controller = std::make_shared<FakeViewController>();
    panel.viewController = controller;
    EXPECT_EQ(panel.audioUnit(), nullptr);
    controller->unit = &unit;
    EXPECT_EQ(panel.audioUnit(), &unit);

    controller.reset();
    EXPECT_EQ(panel.audioUnit(), nullptr);
}

} // namespace
