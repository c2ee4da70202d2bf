#include "ScaleRecords.h"
#include "UIGraphicsImageRenderer.h"
#include "VelmoraFlowViewBase.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class FlowPanelDrawingTest : public testing::Test {
protected:
    void SetUp() override { resetScaleRecords(); }
    void TearDown() override { resetScaleRecords(); }

    // One pass of `panel` into a transparent image of `size` at one pixel per
    // point.
    static std::shared_ptr<UIImage> drawn(VelmoraFlowViewBase& panel, CGSize size,
                                          VelmoraFlowViewBase::ResizingBehavior1 resizing =
                                              VelmoraFlowViewBase::ResizingBehavior1::aspectFit)
    {
        return UIGraphicsImageRenderer(size, 1).image(
            [&](CGContext&) { panel.draw(CGRect({0, 0}, size), resizing); });
    }
};

TEST_F(FlowPanelDrawingTest, APassRebuildsEveryHitAreaInDesignUnits)
{
    VelmoraFlowViewBase panel;
    drawn(panel, {300, 330});
    const std::vector<std::pair<const UIBezierPath*, CGRect>> areas{
        {&panel.hotspotDrawerPath, {45, 417, 512, 128}},      {&panel.hotspotFlowPath, {44, 81, 512, 488}},
        {&panel.hotspotSliderPath, {45, 569, 511, 30}},       {&panel.hotspotCaptionPath, {32, 16, 178, 26}},
        {&panel.hotspotSpeedPath, {218, 17, 106, 23}},        {&panel.hotspotRangePath, {324, 17, 106, 23}},
        {&panel.hotspotButtonOnOffPath, {435, 10, 38, 38}},   {&panel.hotspotCaption2Path, {476, 16, 99, 26}},
        {&panel.hotspotKeysPath, {44, 66, 512, 15}},          {&panel.hotspotButtonMonoPath, {32, 619, 80, 20}},
        {&panel.hotspotButtonLeftPath, {110, 618, 80, 20}},   {&panel.hotspotButtonRightPath, {188, 618, 80, 20}},
        {&panel.hotspotButtonMidPath, {266, 618, 80, 20}},    {&panel.hotspotButtonSidePath, {344, 619, 80, 20}},
        {&panel.hotspotResetPath, {440, 618, 36, 30}},        {&panel.hotspotButtonFreezePath, {490, 618, 80, 20}},
        {&panel.hotspotLeftPath, {11, 290, 34, 78}},          {&panel.hotspotRightPath, {556, 291, 34, 78}},
    };
    for (const auto& [path, rect] : areas) {
        EXPECT_EQ(path->bounds(), rect);
        EXPECT_TRUE(path->contains({rect.midX(), rect.midY()}));
        EXPECT_FALSE(path->contains({rect.maxX() + 0.5, rect.midY()}));
    }
    // Touch names follow the first hit: the drawer lies over the flow area.
    EXPECT_TRUE(panel.hotspotFlowPath.contains({300, 480}));
}

TEST_F(FlowPanelDrawingTest, RangeAreasFollowTheRangeEndsReadAtTheStartOfThePass)
{
    VelmoraFlowViewBase panel;
    for (const auto& [left, right] : {std::pair{0.25, 0.75}, {0.5, 0.5}, {1.0, 0.0}}) {
        panel.valueRangeLeft = left;
        panel.valueRangeRight = right;
        drawn(panel, {600, 660});
        EXPECT_EQ(panel.hotspotLeftPath.bounds(), CGRect(11 + 508 * left, 290, 34, 78));
        EXPECT_EQ(panel.hotspotRightPath.bounds(), CGRect(48 + 508 * right, 291, 34, 78));
    }
}

TEST_F(FlowPanelDrawingTest, HiddenDrawerAndRangeHandlesLeaveAreasThatHoldNoPoint)
{
    VelmoraFlowViewBase panel;
    panel.isDrawerVisible = false;
    panel.isRangeVisible = false;
    drawn(panel, {600, 660});
    for (const UIBezierPath* path : {&panel.hotspotDrawerPath, &panel.hotspotLeftPath, &panel.hotspotRightPath}) {
        EXPECT_EQ(path->bounds(), CGRect::zero());
        EXPECT_FALSE(path->contains({0, 0}));
    }
    EXPECT_FALSE(panel.hotspotLeftPath.contains({20, 300}));
    EXPECT_FALSE(panel.hotspotDrawerPath.contains({300, 480}));
    EXPECT_EQ(panel.hotspotFlowPath.bounds(), CGRect(44, 81, 512, 488));

    panel.isDrawerVisible = true;
    drawn(panel, {600, 660});
    EXPECT_TRUE(panel.hotspotDrawerPath.contains({300, 480}));
    EXPECT_FALSE(panel.hotspotRightPath.contains({570, 300}));
}

TEST_F(FlowPanelDrawingTest, ThePassRecordsTheCanvasScaleForTheTouchMapping)
{
    VelmoraFlowViewBase panel;
    drawn(panel, {300, 330});
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.5}));
    VelmoraFlowViewScale = {0, 0};
    drawn(panel, {600, 330});
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.5}));
    drawn(panel, {300, 660}, VelmoraFlowViewBase::ResizingBehavior1::stretch);
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 1.0}));
}

TEST_F(FlowPanelDrawingTest, APassRewritesBothCaptionsFromTheModes)
{
    VelmoraFlowViewBase panel;
    panel.valueProcessingMode = 3;
    panel.valueOperationMode = 2;
    drawn(panel, {60, 66});
    EXPECT_EQ(panel.labelMode, "MID");
    EXPECT_EQ(panel.labelMode2, "FILTER MODE 1");
    panel.valueProcessingMode = 7;
    panel.valueOperationMode = -1;
    panel.draw();
    EXPECT_EQ(panel.labelMode, "");
    EXPECT_EQ(panel.labelMode2, "");
}

} // namespace
