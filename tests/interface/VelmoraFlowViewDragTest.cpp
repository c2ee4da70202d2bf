#include "FlowViewTouchFixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

class VelmoraFlowViewDragTest : public FlowViewTouchFixture {
protected:
    VelmoraFlowViewDragTest() { show(); }
};

TEST_F(VelmoraFlowViewDragTest, MovesNeedAControllerADelegateAndAHitArea)
{
    begin(10, 10);
    move(300, 580);
    begin(300, 580);
    view->setDelegate({});
    move(300, 505);
    view->setDelegate(delegate);
    view->setViewController({});
    move(300, 505);
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown));
    EXPECT_EQ(panel().valueMix, 0.5);
}

// Each knob-like control crosses its whole scale when dragged by its constant
// both up and to the right; the drag counts from the touch's start.
TEST_F(VelmoraFlowViewDragTest, KnobLikeControlsFollowTheTotalDragWithTheirOwnConstant)
{
    begin(300, 580); // mix at 0.5, constant 150
    for (const CGPoint to : {CGPoint{300, 505}, CGPoint{300, 880}, CGPoint{375, 505}, CGPoint{225, 580}}) {
        move(to.x, to.y);
    }
    EXPECT_THAT(takeSent(), ElementsAre(parameter(107, 0.75f), parameter(107, 0), parameter(107, 1),
                                        parameter(107, 0.25f)));
    EXPECT_EQ(std::count(events.begin(), events.end(), UIControlEvents::valueChanged), 4);
    end();

    begin(270, 28); // speed 2 of 8, constant 100
    for (const CGPoint to : {CGPoint{270, 28}, CGPoint{270, -72}, CGPoint{370, -72}, CGPoint{270, 128}}) {
        move(to.x, to.y);
    }
    EXPECT_THAT(takeSent(), ElementsAre(option(6002, 2), option(6002, 6), option(6002, 8), option(6002, 0)));
    end();

    view->setParameter(104, 1);
    begin(376, 28); // operation 1 of 3, constant 100
    move(376, 28);
    EXPECT_EQ(panel().valueOperationMode, 1);
    move(576, -172);
    EXPECT_EQ(panel().valueOperationMode, 3);
    move(376, 40);
    EXPECT_EQ(panel().valueOperationMode, 0);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewDragTest, RangeHandlesSnapToTheGridMeetButNeverCrossAndDescribeTheRange)
{
    view->setParameter(106, 95.25f); // 0.75
    show();
    begin(20, 300); // constant 200
    move(20, 200);
    EXPECT_EQ(panel().valueRangeLeft, 0.25);
    EXPECT_EQ(panel().labelDisplay, "Range from: 31 (G0)\n to: 95 (B5)");
    move(20, 199); // 0.2525 snaps down to 0.25
    EXPECT_EQ(panel().valueRangeLeft, 0.25);
    move(20, -300); // past the high end: the ends meet, and the readout says so
    EXPECT_EQ(panel().valueRangeLeft, 0.75);
    EXPECT_EQ(panel().labelDisplay, "Range from: 95 (B5)\n to: 95 (B5)");
    end();
    EXPECT_THAT(takeSent(), ElementsAre(parameter(105, 95), parameter(106, 95)));

    view->setParameter(105, 63.5f);
    show();
    begin(440, 300); // the high end's handle at 0.75
    move(440, 600);
    EXPECT_EQ(panel().valueRangeRight, 0.5);
    move(440, 350);
    EXPECT_EQ(panel().valueRangeRight, 0.625);
    EXPECT_EQ(panel().labelDisplay, "Range from: 63 (D#3)\n to: 79 (G4)");
    end();
    takeSent();

    view->setParameter(105, 64); // 64 / 127 lies between the grid's 64/128 and 65/128
    show();
    begin(380, 300); // the high end's handle at 0.625
    move(380, 300 + 2 * 200 * (0.625 - 0.504)); // 0.504 would snap down below the low end
    EXPECT_EQ(panel().valueRangeRight, panel().valueRangeLeft);
    EXPECT_EQ(panel().labelDisplay, "Range from: 64 (E3)\n to: 64 (E3)");
    end();
    EXPECT_THAT(takeSent(), ElementsAre(parameter(105, 64), parameter(106, 64)));
}

// A handle stopped at the other end must not leave the readout naming the key
// it passed on its way there.
TEST_F(VelmoraFlowViewDragTest, AHandleStoppedAtTheOtherEndReadsTheKeysTheRangeKeeps)
{
    view->setParameter(105, 34); // A#0, off the drag grid
    show();
    begin(570, 330); // the high end's handle at 1.0
    move(570, 330 + 287.5); // 1 - 0.71875 = 36/128: key 35
    EXPECT_EQ(panel().labelDisplay, "Range from: 34 (A#0)\n to: 35 (B0)");
    move(570, 330 + 300); // below the low end: stops on it
    EXPECT_EQ(panel().valueRangeRight, panel().valueRangeLeft);
    EXPECT_EQ(panel().labelDisplay, "Range from: 34 (A#0)\n to: 34 (A#0)");
    end();
    EXPECT_THAT(takeSent(), ElementsAre(parameter(105, 34), parameter(106, 34)));

    view->setParameter(105, 0);
    view->setParameter(106, 34);
    show();
    begin(20, 330); // the low end's handle at 0.0
    move(20, 330 - 400); // past the high end: stops on it
    EXPECT_EQ(panel().valueRangeLeft, panel().valueRangeRight);
    EXPECT_EQ(panel().labelDisplay, "Range from: 34 (A#0)\n to: 34 (A#0)");
}

TEST_F(VelmoraFlowViewDragTest, PaintingFillsSkippedBandsFromTheNewBandBackwardsAndSendsThoseInRange)
{
    begin(90, 481); // band 10
    takeSent();
    move(110, 449); // band 15 at 0.75
    EXPECT_EQ(takeSent(), bands(0, {14, 13, 12, 11, 15}, 0.75f));
    EXPECT_TRUE(panel().isHandleSelected[15]);
    EXPECT_FALSE(panel().isHandleSelected[10]);
    move(98, 545); // band 12 at 0
    EXPECT_EQ(takeSent(), bands(0, {13, 14, 12}, 0));
    move(96, 417); // still band 12
    move(102, 417); // the next band: no gap
    EXPECT_EQ(takeSent(), bands(0, {12, 13}, 1));
    EXPECT_EQ(panel().valueHandle[11], 0.75);
    EXPECT_EQ(panel().labelDisplay, "Stereo Link Band 13\nValue: 1.0");
    move(-100, 417); // far left: band 0, every band between filled
    EXPECT_EQ(takeSent().size(), 13u);
    end();

    view->setParameter(104, 2);
    view->setParameter(105, 12);
    view->setParameter(106, 13); // filter 1 keeps only keys 12 and 13
    begin(90, 481);
    move(110, 481);
    EXPECT_EQ(takeSent(), bands(0, {13, 12}, 0.5f));
    EXPECT_EQ(panel().valueHandle[14], 0.5);
}

TEST_F(VelmoraFlowViewDragTest, TheCrossHairFollowsAndReadsTheFrequency)
{
    begin(300, 200);
    move(324, 1000);
    EXPECT_EQ(panel().valueHorizontal, 0.546875);
    EXPECT_EQ(panel().valueVertical, 1.0);
    EXPECT_EQ(panel().labelDisplay, "Frequency: 440.0 Hz\nMIDI Key: 69 (A3)");
    move(-50, 0);
    EXPECT_EQ(panel().valueVertical, 0.0);
    EXPECT_THAT(panel().labelDisplay, ::testing::EndsWith("\nMIDI Key: 0 (C-2)"));
    EXPECT_TRUE(delegate->sent.empty());
}

} // namespace
