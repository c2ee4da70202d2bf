#include "FlowViewTouchFixture.h"

#include <gmock/gmock.h>

#include <numeric>
#include <string>

namespace {

using ::testing::ElementsAre;

class VelmoraFlowViewTouchTest : public FlowViewTouchFixture {};

std::vector<int> notes(int first, int last)
{
    std::vector<int> list(static_cast<std::size_t>(last - first + 1));
    std::iota(list.begin(), list.end(), first);
    return list;
}

TEST_F(VelmoraFlowViewTouchTest, TouchStartsAreIgnoredUntilBothControllerAndDelegateAreSet)
{
    show();
    view->setDelegate({});
    begin(300, 200);
    view->setDelegate(delegate);
    view->setViewController({});
    begin(300, 200);
    move(310, 210);
    EXPECT_TRUE(console.lines().empty());
    EXPECT_EQ(view->startLocation(), (CGPoint{0, 0}));
    EXPECT_TRUE(events.empty());

    view->setViewController(controller);
    begin(300, 580);
    view->setViewController({});
    end();
    cancel();
    EXPECT_TRUE(panel().isSliderActive);
    EXPECT_EQ(view->hotspotMode(), "slider");
    EXPECT_THAT(controller->lockChanges, ElementsAre(true));
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown));
}

TEST_F(VelmoraFlowViewTouchTest, BeforeTheFirstDrawEveryTouchMissesAndOnlyUnlocks)
{
    const int before = view->displayRequestCount();
    begin(300, 200);
    EXPECT_THAT(console.lines(), ElementsAre(""));
    EXPECT_EQ(view->hotspotMode(), "");
    EXPECT_THAT(controller->lockChanges, ElementsAre(false));
    EXPECT_EQ(view->displayRequestCount(), before);
    EXPECT_TRUE(events.empty());

    move(320, 220);
    EXPECT_EQ(view->displayRequestCount(), before);
    end();
    EXPECT_THAT(controller->lockChanges, ElementsAre(false, false));
    EXPECT_EQ(view->displayRequestCount(), before + 1);
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchUpInside));
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewTouchTest, TheHitTestNamesTheFirstAreaInItsOrderAndPrintsIt)
{
    show();
    const std::pair<CGPoint, std::string> hits[] = {
        {{50, 450}, "drawer"},      {{44.5, 300}, "range_left"}, {{556, 300}, "range_right"},
        {{300, 200}, "flow"},       {{300, 70}, "keys"},         {{300, 580}, "slider"},
        {{270, 28}, "speed"},       {{376, 28}, "operation"},    {{450, 30}, "onoff"},
        {{100, 28}, "caption1"},    {{520, 28}, "caption2"},     {{70, 628}, "slink"},
        {{150, 628}, "left"},       {{228, 628}, "right"},       {{306, 628}, "mid"},
        {{384, 628}, "side"},       {{458, 630}, "reset"},       {{530, 628}, "freeze"},
        {{10, 10}, ""},             {{590, 650}, ""},
    };
    for (const auto& [point, name] : hits) {
        begin(point.x, point.y);
        EXPECT_EQ(view->hotspotMode(), name) << point.x << ", " << point.y;
        EXPECT_EQ(console.lines().back(), name);
        cancel();
    }
    EXPECT_EQ(console.lines().size(), std::size(hits));
}

TEST_F(VelmoraFlowViewTouchTest, OverlappingAreasGoToTheEarlierOne)
{
    view->setParameter(105, 63.5f); // left handle's area x 265 ... 299
    view->setParameter(106, 60.96f); // right handle's area from x 291.84
    show();
    begin(295, 330);
    EXPECT_EQ(view->hotspotMode(), "range_left");
    cancel();
    begin(310, 330);
    EXPECT_EQ(view->hotspotMode(), "range_right");
    cancel();

    panel().isDrawerVisible = false;
    show();
    begin(50, 450);
    EXPECT_EQ(view->hotspotMode(), "flow");
}

TEST_F(VelmoraFlowViewTouchTest, TheLockIsHeldFromAHitUntilItsReleaseOrCancel)
{
    show();
    begin(300, 70); // keys: an area without an action of its own still locks
    EXPECT_TRUE(controller->locked);
    end();
    begin(10, 10);
    end();
    begin(100, 28);
    cancel();
    EXPECT_THAT(controller->lockChanges, ElementsAre(true, false, false, false, true, false));
}

TEST_F(VelmoraFlowViewTouchTest, AreasWithoutActionLockRedrawAndSendTouchDownOnly)
{
    show();
    for (const CGPoint point : {CGPoint{300, 70}, CGPoint{450, 30}, CGPoint{100, 28}, CGPoint{520, 28}}) {
        events.clear();
        const int before = view->displayRequestCount();
        begin(point.x, point.y);
        EXPECT_EQ(view->displayRequestCount(), before + 1);
        EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown));
        move(point.x + 40, point.y + 40);
        EXPECT_EQ(view->displayRequestCount(), before + 2);
        EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown, UIControlEvents::valueChanged));
        end();
    }
    EXPECT_TRUE(delegate->sent.empty());
    EXPECT_TRUE(panel().isButtoOnOffActive);
    tap(450, 30);
    EXPECT_FALSE(panel().isButtoOnOffActive);
}

TEST_F(VelmoraFlowViewTouchTest, ABandEditorTouchSelectsSetsAndSendsOneBand)
{
    show();
    begin(50, 450);
    EXPECT_EQ(view->hotspotMode(), "drawer");
    EXPECT_EQ(view->lastIndex(), 0);
    EXPECT_EQ(panel().valueHandle[0], 0.7421875);
    EXPECT_EQ(std::count(panel().isHandleSelected.begin(), panel().isHandleSelected.end(), true), 1);
    EXPECT_TRUE(panel().isHandleSelected[0]);
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::parameter(1000, 0.7421875f)));
    EXPECT_EQ(panel().labelDisplay, "Stereo Link Band 0\nValue: 0.7421875");
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown));

    end();
    EXPECT_EQ(std::count(panel().isHandleSelected.begin(), panel().isHandleSelected.end(), true), 0);
    EXPECT_EQ(delegate->sent.size(), 1u);
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown, UIControlEvents::touchUpInside));
}

TEST_F(VelmoraFlowViewTouchTest, BandEditorEdgesGiveTheEndBandsAndValues)
{
    show();
    const struct {
        CGPoint point;
        int band;
        CGFloat value;
    } cases[] = {{{45, 417}, 0, 1.0}, {{46.9, 481}, 0, 0.5}, {{556.9, 545}, 127, 0.0}, {{67, 513}, 5, 0.25}};
    for (const auto& expected : cases) {
        tap(expected.point.x, expected.point.y);
        EXPECT_EQ(view->lastIndex(), expected.band);
        EXPECT_EQ(panel().valueHandle[expected.band], expected.value);
    }
}

TEST_F(VelmoraFlowViewTouchTest, BandReadoutNamesTheChannelAndBandSentOnlyInRange)
{
    view->setParameter(103, 2);
    show();
    tap(68, 513);
    EXPECT_THAT(takeSent(), ElementsAre(Sent::parameter(3005, 0.25f)));
    EXPECT_EQ(panel().labelDisplay, "Right Channel Band 5\nValue: 0.25");

    view->setParameter(104, 1);
    view->setParameter(105, 63.5f); // harmonic shift from key 63: band 10 is out of range
    begin(88, 417);
    EXPECT_EQ(panel().valueHandle[10], 1.0);
    EXPECT_TRUE(panel().isHandleSelected[10]);
    EXPECT_EQ(view->lastIndex(), 10);
    EXPECT_TRUE(delegate->sent.empty());
    EXPECT_EQ(panel().labelDisplay, "Right Channel Band 5\nValue: 0.25");
}

TEST_F(VelmoraFlowViewTouchTest, AFlowTouchPlacesTheCrossHairAndReadsTheNotesFrequency)
{
    show();
    begin(324, 300);
    EXPECT_EQ(panel().valueHorizontal, 0.546875);
    EXPECT_EQ(panel().valueVertical, (300.0 - 67) / 512);
    EXPECT_EQ(panel().labelDisplay, "Frequency: 440.0 Hz\nMIDI Key: 69 (A3)");
    end();
    tap(276, 81);
    EXPECT_EQ(panel().valueVertical, 14.0 / 512);
    EXPECT_EQ(panel().labelDisplay, "Frequency: 220.0 Hz\nMIDI Key: 57 (A2)");
    tap(300, 200);
    EXPECT_EQ(panel().valueHorizontal, 0.5);
    EXPECT_THAT(panel().labelDisplay, ::testing::EndsWith("\nMIDI Key: 63 (D#3)"));
    tap(556, 400);
    EXPECT_EQ(panel().valueHorizontal, 1.0);
    EXPECT_THAT(panel().labelDisplay, ::testing::EndsWith("\nMIDI Key: 127 (G8)"));
    tap(555.99, 400);
    EXPECT_EQ(panel().valueHorizontal, 127.0 / 128);
    EXPECT_THAT(panel().labelDisplay, ::testing::EndsWith("\nMIDI Key: 126 (F#8)"));
    EXPECT_TRUE(delegate->sent.empty());

    controller->unit = nullptr; // no table to read: the readout stays
    tap(44, 400);
    EXPECT_EQ(panel().valueHorizontal, 0.0);
    EXPECT_THAT(panel().labelDisplay, ::testing::EndsWith("\nMIDI Key: 126 (F#8)"));
}

TEST_F(VelmoraFlowViewTouchTest, ModeButtonsLoadTheModesBandsThenSendTheMode)
{
    show();
    const CGPoint buttons[] = {{70, 628}, {150, 628}, {228, 628}, {306, 628}, {384, 628}};
    bool* const flags[] = {&panel().isButtonModeMonoActive, &panel().isButtonModeLeftActive,
                           &panel().isButtonModeRightActive, &panel().isButtonModeMidActive,
                           &panel().isButtonModeSideActive};
    for (int mode = 4; mode >= 0; --mode) {
        begin(buttons[mode].x, buttons[mode].y);
        EXPECT_TRUE(*flags[mode]);
        EXPECT_EQ(panel().valueProcessingMode, mode);
        EXPECT_EQ(panel().valueHandle[7], unit.bands[mode][7]);
        EXPECT_THAT(takeSent(), ElementsAre(Sent::parameter(103, static_cast<float>(mode))));
        end();
        EXPECT_FALSE(*flags[mode]);
        EXPECT_TRUE(delegate->sent.empty());
    }
    EXPECT_THAT(unit.bandReads, ElementsAre(4, 3, 2, 1, 0));
}

TEST_F(VelmoraFlowViewTouchTest, ResetShowsOneHalfEverywhereAndSendsTheBandsInRange)
{
    show();
    begin(458, 630);
    EXPECT_TRUE(panel().isButtonResetActive);
    EXPECT_EQ(takeSent(), bandSends(0, notes(0, 127), 0.5f));
    end();
    EXPECT_FALSE(panel().isButtonResetActive);

    view->setParameter(103, 2);
    view->setParameter(104, 1);
    view->setParameter(105, 63.5f);
    tap(458, 630);
    EXPECT_EQ(takeSent(), bandSends(2, notes(63, 127), 0.5f));
    EXPECT_TRUE(std::all_of(panel().valueHandle.begin(), panel().valueHandle.end(),
                            [](CGFloat value) { return value == 0.5; }));
}

TEST_F(VelmoraFlowViewTouchTest, FreezeTogglesAndSendsTheOption)
{
    show();
    begin(530, 628);
    EXPECT_TRUE(panel().isButtonFreezeActive);
    EXPECT_TRUE(panel().isFreezeSelected);
    end();
    EXPECT_FALSE(panel().isButtonFreezeActive);
    tap(530, 628);
    EXPECT_FALSE(panel().isFreezeSelected);
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::option(6003, 1.0f), Sent::option(6003, 0.0f)));
}

TEST_F(VelmoraFlowViewTouchTest, KnobLikeControlsSaveTheirValueOnTheDragsScale)
{
    show();
    view->setParameter(107, 0.3f);
    view->setParameter(104, 3);
    const struct {
        CGPoint point;
        bool* flag;
        CGFloat saved;
    } cases[] = {
        {{300, 580}, &panel().isSliderActive, static_cast<CGFloat>(0.3f)},
        {{270, 28}, &panel().isOptionSpeedActive, 0.25},
        {{376, 28}, &panel().isOptionRangeActive, 1.0},
        {{20, 300}, &panel().isRangeLeftActive, 0.0},
        {{570, 300}, &panel().isRangeRightActive, 1.0},
    };
    for (const auto& expected : cases) {
        begin(expected.point.x, expected.point.y);
        EXPECT_TRUE(*expected.flag);
        EXPECT_EQ(view->savedValue(), expected.saved);
        cancel();
        EXPECT_FALSE(*expected.flag);
    }
    view->setParameter(104, 1);
    begin(376, 28);
    EXPECT_EQ(view->savedValue(), 1.0 / 3);
}

TEST_F(VelmoraFlowViewTouchTest, ReleasingTheOperationSelectorSendsTheModeThenTheRangeThenTheBands)
{
    view->setParameter(105, 63.5f);
    show();
    begin(376, 28);
    move(410, -6); // a third of the scale and a little more: harmonic shift
    EXPECT_EQ(panel().valueOperationMode, 1);
    EXPECT_TRUE(delegate->sent.empty());
    end();
    std::vector<Sent> expected = {Sent::parameter(104, 1), Sent::parameter(105, 63), Sent::parameter(106, 127)};
    const std::vector<Sent> bands = bandSends(0, notes(63, 127), 0.5f);
    expected.insert(expected.end(), bands.begin(), bands.end());
    EXPECT_EQ(delegate->sent, expected);
    EXPECT_FALSE(panel().isOptionRangeActive);
    EXPECT_EQ(view->hotspotMode(), "");
}

TEST_F(VelmoraFlowViewTouchTest, ReleasingARangeHandleSendsBothEnds)
{
    show();
    tap(20, 300);
    tap(570, 300);
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::parameter(105, 0), Sent::parameter(106, 127),
                                            Sent::parameter(105, 0), Sent::parameter(106, 127)));
    EXPECT_FALSE(panel().isRangeLeftActive);
    EXPECT_FALSE(panel().isRangeRightActive);
}

TEST_F(VelmoraFlowViewTouchTest, CancelClearsThePressedStateAndCommitsNothing)
{
    show();
    begin(376, 28);
    move(410, -6);
    cancel();
    EXPECT_EQ(panel().valueOperationMode, 1);
    EXPECT_FALSE(panel().isOptionRangeActive);
    EXPECT_EQ(view->hotspotMode(), "operation");
    EXPECT_FALSE(controller->locked);
    EXPECT_EQ(events.back(), UIControlEvents::touchCancel);

    begin(570, 300);
    move(570, 400);
    cancel();
    EXPECT_FALSE(panel().isRangeRightActive);
    EXPECT_EQ(panel().valueRangeRight, 0.75);

    begin(50, 450);
    cancel();
    EXPECT_FALSE(panel().isHandleSelected[0]);
    EXPECT_THAT(delegate->sent, ElementsAre(Sent::parameter(1000, 0.7421875f)));
}

TEST_F(VelmoraFlowViewTouchTest, AReleaseOutsideTheViewSendsTouchUpOutside)
{
    show();
    begin(300, 200);
    touch->moveTo({700, 200}, UITouch::Phase::ended);
    view->touchesEnded({touch}, nullptr);
    EXPECT_THAT(events, ElementsAre(UIControlEvents::touchDown, UIControlEvents::touchUpOutside));
}

TEST_F(VelmoraFlowViewTouchTest, TouchesMapThroughTheCanvasCentredInTheView)
{
    view->setFrame(CGRect(0, 0, 600, 330)); // canvas at half size, 150 points in
    show();
    begin(150 + 25, 225);
    EXPECT_EQ(view->hotspotMode(), "drawer");
    EXPECT_EQ(view->startLocation(), (CGPoint{50, 450}));
    cancel();

    view->setFrame(CGRect(0, 0, 300, 330)); // the controller's aspect: no margin
    show();
    begin(25, 225);
    EXPECT_EQ(view->startLocation(), (CGPoint{50, 450}));
    cancel();

    auto hidden = std::make_shared<VelmoraFlowView>(CGRect(0, 0, 600, 660));
    hidden->setViewController(controller);
    hidden->setDelegate(delegate);
    hidden->setHidden(true);
    hidden->draw(hidden->bounds());
    hidden->touchesBegan({std::make_shared<UITouch>(hidden, CGPoint{300, 200})}, nullptr);
    EXPECT_EQ(hidden->hotspotMode(), "");
}

} // namespace
