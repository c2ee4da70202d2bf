#include "FlowViewTouchFixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;

class VelmoraFlowViewDragTest : public FlowViewTouchFixture {
protected:
    VelmoraFlowViewDragTest() { show(); }
};

TEST_F(VelmoraFlowViewDragTest, MovesDoNothingWithoutAControllerADelegateOrAHitArea)
{
    begin(10, 10);
    const int before = view->displayRequestCount();
    move(300, 580);
    begin(300, 580);
    view->setDelegate({});
    move(300, 505);
    view->setDelegate(delegate);
    view->setViewController({});
    move(300, 505);
    EXPECT_EQ(view->displayRequestCount(), before + 1); // the slider's touch start only
    EXPECT_EQ(panel().valueMix, 0.5);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewDragTest, TheMixSliderFollowsTheTotalDragAndSendsEveryMove)
{
    begin(300, 580);
    move(300, 505); // 75 up
    EXPECT_EQ(panel().valueMix, 0.75);
    move(300, 880); // 300 down: pinned
    EXPECT_EQ(panel().valueMix, 0.0);
    move(375, 505); // 75 right and 75 up: the whole scale's half
    EXPECT_EQ(panel().valueMix, 1.0);
    move(225, 580); // 75 left
    EXPECT_EQ(panel().valueMix, 0.25);
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::parameter(107, 0.75f), Sent::parameter(107, 0.0f),
                                            Sent::parameter(107, 1.0f), Sent::parameter(107, 0.25f)));
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown, UIControlEvents::valueChanged,
                                    UIControlEvents::valueChanged, UIControlEvents::valueChanged,
                                    UIControlEvents::valueChanged));
    end();
    EXPECT_FALSE(panel().isSliderActive);
    EXPECT_EQ(delegate->sent.size(), 4u);
}

TEST_F(VelmoraFlowViewDragTest, TheSpeedSelectorSendsItsModeOnEveryMove)
{
    begin(270, 28);
    move(270, 28);
    move(270, -72); // 100 up
    move(370, -72); // and 100 right: the top of the scale
    move(270, 128); // 100 down
    EXPECT_EQ(panel().valueSpeedMode, 0);
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::option(6002, 2), Sent::option(6002, 6), Sent::option(6002, 8),
                                            Sent::option(6002, 0)));
}

TEST_F(VelmoraFlowViewDragTest, TheOperationSelectorShowsItsModeAndSendsNothingWhileDragged)
{
    view->setParameter(104, 1);
    begin(376, 28);
    move(376, 28);
    EXPECT_EQ(panel().valueOperationMode, 1);
    move(576, -172);
    EXPECT_EQ(panel().valueOperationMode, 3);
    move(376, 40); // a little down: 1/3 - 0.06
    EXPECT_EQ(panel().valueOperationMode, 0);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewDragTest, RangeHandlesSnapToTheGridAndDescribeTheRange)
{
    view->setParameter(106, 95.25f); // 0.75
    show();
    begin(20, 300);
    move(20, 200); // 100 up of 200 per half scale
    EXPECT_EQ(panel().valueRangeLeft, 0.25);
    EXPECT_EQ(panel().labelDisplay, "Range from: 31 (G0)\n to: 95 (B5)");
    move(20, 199); // 0.2525: snapped down to 32/128
    EXPECT_EQ(panel().valueRangeLeft, 0.25);
    move(20, -300); // past the high end: the ends meet, the readout stays
    EXPECT_EQ(panel().valueRangeLeft, 0.75);
    EXPECT_EQ(panel().labelDisplay, "Range from: 31 (G0)\n to: 95 (B5)");
    end();
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::parameter(105, 95), Sent::parameter(106, 95)));

    view->setParameter(105, 63.5f);
    show();
    begin(440, 300); // the high end's handle at 0.75
    move(440, 600); // far below the low end: the ends meet, the readout stays
    EXPECT_EQ(panel().valueRangeRight, 0.5);
    EXPECT_EQ(panel().labelDisplay, "Range from: 31 (G0)\n to: 95 (B5)");
    move(440, 350); // 50 down: 0.625
    EXPECT_EQ(panel().valueRangeRight, 0.625);
    EXPECT_EQ(panel().labelDisplay, "Range from: 63 (D#3)\n to: 79 (G4)");
}

TEST_F(VelmoraFlowViewDragTest, AHighEndSnappedBelowAnOffGridLowEndStopsAtIt)
{
    view->setParameter(105, 64); // 64 / 127: between the grid's 64/128 and 65/128
    show();
    begin(570, 300);
    move(570, 300 + 2 * 200 * (1 - 0.504)); // the drag value 0.504 snaps down to 0.5
    EXPECT_EQ(panel().valueRangeRight, panel().valueRangeLeft);
    EXPECT_EQ(panel().labelDisplay, "Range from: 64 (E3)\n to: 64 (E3)");
    end();
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::parameter(105, 64), Sent::parameter(106, 64)));
}

TEST_F(VelmoraFlowViewDragTest, PaintingBandsFillsSkippedBandsFromTheNewBandBackwards)
{
    tap(90, 481); // band 10
    takeSent();
    begin(90, 481);
    takeSent();
    move(110, 449); // band 15 at 0.75
    EXPECT_EQ(takeSent(), bandSends(0, {14, 13, 12, 11, 15}, 0.75f));
    EXPECT_TRUE(panel().isHandleSelected[15]);
    EXPECT_FALSE(panel().isHandleSelected[10]);
    move(98, 545); // band 12 at 0
    EXPECT_EQ(takeSent(), bandSends(0, {13, 14, 12}, 0.0f));
    move(96, 417); // still band 12
    EXPECT_EQ(takeSent(), bandSends(0, {12}, 1.0f));
    move(102, 417); // the next band: no gap
    EXPECT_EQ(takeSent(), bandSends(0, {13}, 1.0f));
    EXPECT_EQ(panel().valueHandle[11], 0.75);
    EXPECT_EQ(panel().valueHandle[14], 0.0);
    EXPECT_EQ(panel().labelDisplay, "Stereo Link Band 13\nValue: 1.0");
    move(-100, 417); // far outside: band 0, every band between filled
    EXPECT_EQ(takeSent().size(), 13u);
    EXPECT_EQ(view->lastIndex(), 0);
}

TEST_F(VelmoraFlowViewDragTest, PaintedBandsOutOfRangeAreShownButNotSent)
{
    view->setParameter(104, 2);
    view->setParameter(105, 12);
    view->setParameter(106, 13); // filter 1 leaves out keys 12 and 13
    begin(90, 481);
    takeSent();
    move(110, 481);
    EXPECT_EQ(takeSent(), bandSends(0, {14, 11, 15}, 0.5f));
    EXPECT_EQ(panel().valueHandle[12], 0.5);
}

TEST_F(VelmoraFlowViewDragTest, TheCrossHairFollowsAndReadsTheFrequency)
{
    begin(300, 200);
    move(324, 1000);
    EXPECT_EQ(panel().valueHorizontal, 0.546875);
    EXPECT_EQ(panel().valueVertical, 1.0);
    EXPECT_EQ(panel().labelDisplay, "Frequency: 440.0 Hz\nMIDI Key: 69 (A3)");
    move(-50, 0);
    EXPECT_EQ(panel().valueHorizontal, 0.0);
    EXPECT_EQ(panel().valueVertical, 0.0);
    EXPECT_THAT(panel().labelDisplay, EndsWith("\nMIDI Key: 0 (C-2)"));
    EXPECT_TRUE(delegate->sent.empty());
}

} // namespace
