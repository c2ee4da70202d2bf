#include "ScaleRecords.h"
#include "VelmoraFlowViewBase.h"
#include "WaterfallViewBase.h"

#include <gtest/gtest.h>

namespace {

using PanelResizing = VelmoraFlowViewBase::ResizingBehavior1;
using WidgetResizing = VelmoraFlowViewBase::ResizingBehavior;
using WaterfallResizing = WaterfallViewBase::ResizingBehavior;

const CGRect kPanelCanvas(0, 0, 600, 660);

class ResizingBehaviorTest : public testing::Test {
protected:
    void SetUp() override { resetScaleRecords(); }
    void TearDown() override { resetScaleRecords(); }
};

TEST_F(ResizingBehaviorTest, RecordsStartAtTheirOwnValues)
{
    EXPECT_EQ(PluginFrameViewScale, (CGSize{1, 1}));
    EXPECT_EQ(WaterfallViewScale, (CGSize{0, 0}));
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0, 0}));
}

TEST_F(ResizingBehaviorTest, EachCasePlacesTheCanvasAndRecordsItsScale)
{
    const CGRect narrow(0, 0, 300, 660);
    struct Case {
        PanelResizing resizing;
        CGRect placed;
        CGSize scale;
    };
    const Case cases[] = {
        {PanelResizing::aspectFit, {0, 165, 300, 330}, {0.5, 0.5}},
        {PanelResizing::aspectFill, {-150, 0, 600, 660}, {1, 1}},
        {PanelResizing::stretch, {0, 0, 300, 660}, {0.5, 1}},
        {PanelResizing::center, {-150, 0, 600, 660}, {1, 1}},
    };
    for (const Case& c : cases) {
        VelmoraFlowViewScale = {7, 7};
        EXPECT_EQ(c.resizing.apply(kPanelCanvas, narrow), c.placed) << c.resizing.rawValue();
        EXPECT_EQ(VelmoraFlowViewScale, c.scale) << c.resizing.rawValue();
    }
}

TEST_F(ResizingBehaviorTest, ResultIsCentredInAnOffsetTarget)
{
    EXPECT_EQ(PanelResizing(PanelResizing::stretch).apply({0, 0, 512, 128}, {10, 20, 1024, 64}),
              CGRect(10, 20, 1024, 64));
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{2, 0.5}));

    EXPECT_EQ(PanelResizing(PanelResizing::aspectFit).apply(kPanelCanvas, {0, 0, 600, 330}),
              CGRect(150, 0, 300, 330));
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.5}));
}

TEST_F(ResizingBehaviorTest, NegativeSizesAreStandardized)
{
    const CGRect flipped(600, 660, -600, -660);
    EXPECT_EQ(PanelResizing(PanelResizing::aspectFit).apply(flipped, {0, 0, -300, 330}),
              CGRect(-300, 0, 300, 330));
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.5}));
}

TEST_F(ResizingBehaviorTest, ATargetEqualToTheCanvasRecordsTheNaturalScale)
{
    VelmoraFlowViewScale = {0.5, 0.5};
    EXPECT_EQ(PanelResizing(PanelResizing::aspectFit).apply(kPanelCanvas, kPanelCanvas), kPanelCanvas);
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{1, 1}));

    const CGRect waterfallCanvas(0, 0, 512, 8);
    EXPECT_EQ(WaterfallResizing(WaterfallResizing::stretch).apply(waterfallCanvas, waterfallCanvas),
              waterfallCanvas);
    EXPECT_EQ(WaterfallViewScale, (CGSize{1, 1}));
}

TEST_F(ResizingBehaviorTest, AZeroTargetReturnsTheCanvasAndKeepsTheRecord)
{
    EXPECT_EQ(PanelResizing(PanelResizing::stretch).apply(kPanelCanvas, CGRect()), kPanelCanvas);
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0, 0}));

    VelmoraFlowViewScale = {0.5, 0.25};
    PanelResizing(PanelResizing::aspectFit).apply(kPanelCanvas, CGRect());
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.25}));

    // A zero canvas against a zero target is the zero-target case.
    PanelResizing(PanelResizing::aspectFit).apply(CGRect(), CGRect());
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.25}));
}

TEST_F(ResizingBehaviorTest, EachCopyWritesOnlyItsOwnRecord)
{
    const CGRect half(0, 0, 300, 330);
    EXPECT_EQ(WidgetResizing(WidgetResizing::aspectFit).apply(kPanelCanvas, half), half);
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0, 0}));
    EXPECT_EQ(WaterfallViewScale, (CGSize{0, 0}));
    EXPECT_EQ(PluginFrameViewScale, (CGSize{1, 1}));

    WaterfallResizing(WaterfallResizing::stretch).apply({0, 0, 512, 4}, {0, 0, 256, 8});
    EXPECT_EQ(WaterfallViewScale, (CGSize{0.5, 2}));
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0, 0}));
    EXPECT_EQ(PluginFrameViewScale, (CGSize{1, 1}));
}

TEST_F(ResizingBehaviorTest, RawValuesOutsideZeroToThreeMakeNoBehaviour)
{
    EXPECT_EQ(PanelResizing::fromRaw(2), PanelResizing(PanelResizing::stretch));
    EXPECT_EQ(WidgetResizing::fromRaw(0), WidgetResizing(WidgetResizing::aspectFit));
    EXPECT_EQ(WaterfallResizing::fromRaw(3)->rawValue(), 3);
    EXPECT_FALSE(PanelResizing::fromRaw(4));
    EXPECT_FALSE(WidgetResizing::fromRaw(-1));
    EXPECT_FALSE(WaterfallResizing::fromRaw(-4));
    EXPECT_NE(PanelResizing(PanelResizing::aspectFill), PanelResizing(PanelResizing::center));
}

} // namespace
