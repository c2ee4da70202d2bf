#include "FlowViewTouchFixture.h"

#include "UIWindow.h"

#include <gmock/gmock.h>

#include <string>

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using Event = UIControlEvents;

class VelmoraFlowViewTouchTest : public FlowViewTouchFixture {};

TEST_F(VelmoraFlowViewTouchTest, TouchesNeedControllerAndDelegateToStartAndTheControllerToEnd)
{
    show();
    view->setDelegate({});
    begin(300, 200);
    view->setDelegate(delegate);
    view->setViewController({});
    begin(300, 200);
    EXPECT_TRUE(console.lines().empty());

    view->setViewController(controller);
    begin(300, 580);
    view->setViewController({});
    end();
    cancel();
    EXPECT_TRUE(panel().isSliderActive);
    EXPECT_THAT(controller->lockChanges, ElementsAre(true));
    EXPECT_THAT(events, ElementsAre(Event::touchDown));
}

TEST_F(VelmoraFlowViewTouchTest, BeforeTheFirstDrawATouchMissesAndItsReleaseStillUnlocksAndRedraws)
{
    const int before = view->displayRequestCount();
    begin(300, 200);
    EXPECT_THAT(console.lines(), ElementsAre(""));
    EXPECT_EQ(view->displayRequestCount(), before);
    end();
    EXPECT_THAT(controller->lockChanges, ElementsAre(false, false));
    EXPECT_EQ(view->displayRequestCount(), before + 1);
    EXPECT_THAT(events, ElementsAre(Event::touchUpInside));
}

TEST_F(VelmoraFlowViewTouchTest, TheHitTestPrintsTheFirstAreaInItsOrderThatHoldsThePoint)
{
    view->setParameter(105, 63.5f);  // the low handle's area: x 265 ... 299
    view->setParameter(106, 60.96f); // the high handle's: x 291.84 ... 325.84
    show();
    const std::pair<CGPoint, std::string> hits[] = {
        {{50, 450}, "drawer"},   {{295, 330}, "range_left"}, {{310, 330}, "range_right"}, {{300, 200}, "flow"},
        {{300, 70}, "keys"},     {{300, 580}, "slider"},     {{270, 28}, "speed"},         {{376, 28}, "operation"},
        {{450, 30}, "onoff"},    {{100, 28}, "caption1"},    {{520, 28}, "caption2"},      {{70, 628}, "slink"},
        {{150, 628}, "left"},    {{228, 628}, "right"},      {{306, 628}, "mid"},          {{384, 628}, "side"},
        {{458, 630}, "reset"},   {{530, 628}, "freeze"},     {{10, 10}, ""},
    };
    for (const auto& [point, name] : hits) {
        begin(point.x, point.y);
        EXPECT_EQ(view->hotspotMode(), name) << point.x << ", " << point.y;
        EXPECT_EQ(console.lines().back(), name);
        cancel();
    }
    panel().isDrawerVisible = false;
    show();
    begin(50, 450);
    EXPECT_EQ(view->hotspotMode(), "flow");
}

TEST_F(VelmoraFlowViewTouchTest, EveryAreaLocksUntilReleaseOrCancelAndThoseWithoutActionSendNothing)
{
    show();
    for (const CGPoint point : {CGPoint{300, 70}, CGPoint{450, 30}, CGPoint{100, 28}, CGPoint{520, 28}}) {
        begin(point.x, point.y);
        move(point.x + 40, point.y + 40);
        end();
    }
    begin(10, 10);
    begin(450, 30);
    cancel();
    EXPECT_THAT(controller->lockChanges, ElementsAre(true, false, true, false, true, false, true, false, false, true,
                                                     false));
    EXPECT_THAT(std::vector<Event>(events.begin(), events.begin() + 3),
                ElementsAre(Event::touchDown, Event::valueChanged, Event::touchUpInside));
    EXPECT_EQ(events.back(), Event::touchCancel);
    EXPECT_FALSE(panel().isButtoOnOffActive); // flipped by both touches on it
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewTouchTest, ABandEditorTouchSetsAndSendsOneBandWhileItsNoteIsInRange)
{
    show();
    begin(50, 450);
    EXPECT_EQ(panel().valueHandle[0], 0.7421875);
    EXPECT_EQ(std::count(panel().isHandleSelected.begin(), panel().isHandleSelected.end(), true), 1);
    EXPECT_THAT(takeSent(), ElementsAre(parameter(1000, 0.7421875f)));
    EXPECT_EQ(panel().labelDisplay, "Stereo Link Band 0\nValue: 0.7421875");
    end();
    EXPECT_FALSE(panel().isHandleSelected[0]);

    const std::tuple<CGPoint, int, CGFloat> edges[] = {{{45, 417}, 0, 1.0}, {{556.9, 545}, 127, 0.0}};
    for (const auto& [point, band, value] : edges) {
        tap(point.x, point.y);
        EXPECT_EQ(view->lastIndex(), band);
        EXPECT_EQ(panel().valueHandle[band], value);
    }

    view->setParameter(103, 2);
    tap(68, 513);
    EXPECT_EQ(takeSent().back(), parameter(3005, 0.25f));
    EXPECT_EQ(panel().labelDisplay, "Right Channel Band 5\nValue: 0.25");
    view->setParameter(104, 1);
    view->setParameter(105, 63.5f); // band 10 is now out of range
    tap(88, 417);
    EXPECT_EQ(panel().valueHandle[10], 1.0);
    EXPECT_TRUE(delegate->sent.empty());
    EXPECT_EQ(panel().labelDisplay, "Right Channel Band 5\nValue: 0.25");
}

TEST_F(VelmoraFlowViewTouchTest, AFlowTouchPlacesTheCrossHairOnTheGridAndReadsTheNotesFrequency)
{
    show();
    tap(324, 300);
    EXPECT_EQ(panel().valueHorizontal, 0.546875);
    EXPECT_EQ(panel().valueVertical, (300.0 - 67) / 512);
    EXPECT_EQ(panel().labelDisplay, "Frequency: 440.0 Hz\nMIDI Key: 69 (A3)");
    tap(276, 81);
    EXPECT_EQ(panel().labelDisplay, "Frequency: 220.0 Hz\nMIDI Key: 57 (A2)");
    tap(556, 400);
    EXPECT_THAT(panel().labelDisplay, EndsWith("\nMIDI Key: 127 (G8)"));
    tap(555.99, 400);
    EXPECT_THAT(panel().labelDisplay, EndsWith("\nMIDI Key: 126 (F#8)"));
    controller->unit = nullptr; // no table to read: the readout stays
    tap(44, 400);
    EXPECT_EQ(panel().valueHorizontal, 0.0);
    EXPECT_THAT(panel().labelDisplay, EndsWith("\nMIDI Key: 126 (F#8)"));
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewTouchTest, ButtonsLoadAModesBandsResetTheBandsInRangeAndToggleFreeze)
{
    show();
    const CGFloat modeButtonX[] = {70, 150, 228, 306, 384};
    for (int mode = 4; mode >= 0; --mode) {
        begin(modeButtonX[mode], 628);
        EXPECT_EQ(panel().valueProcessingMode, mode);
        EXPECT_EQ(panel().valueHandle[7], unit.bands[mode][7]);
        end();
    }
    EXPECT_THAT(takeSent(), ElementsAre(parameter(103, 4), parameter(103, 3), parameter(103, 2), parameter(103, 1),
                                        parameter(103, 0)));

    tap(458, 630);
    EXPECT_EQ(takeSent(), bands(0, notes(0, 127), 0.5f));
    view->setParameter(103, 2);
    view->setParameter(104, 1);
    view->setParameter(105, 63.5f);
    tap(458, 630);
    EXPECT_EQ(takeSent(), bands(2, notes(63, 127), 0.5f));
    EXPECT_EQ(std::count(panel().valueHandle.begin(), panel().valueHandle.end(), 0.5), 128);

    tap(530, 628);
    tap(530, 628);
    EXPECT_THAT(delegate->sent, ElementsAre(option(6003, 1), option(6003, 0)));
}

TEST_F(VelmoraFlowViewTouchTest, PressedFlagsLastFromTouchStartToReleaseAndKnobsSaveTheirValue)
{
    view->setParameter(107, 0.3f);
    view->setParameter(104, 1);
    show();
    const std::tuple<CGPoint, bool*, CGFloat> knobs[] = {
        {{300, 580}, &panel().isSliderActive, static_cast<CGFloat>(0.3f)},
        {{270, 28}, &panel().isOptionSpeedActive, 0.25},
        {{376, 28}, &panel().isOptionRangeActive, 1.0 / 3},
        {{20, 300}, &panel().isRangeLeftActive, 0.0},
        {{570, 300}, &panel().isRangeRightActive, 1.0},
        // the buttons leave the value the last knob saved
        {{70, 628}, &panel().isButtonModeMonoActive, 1.0},
        {{306, 628}, &panel().isButtonModeMidActive, 1.0},
        {{458, 630}, &panel().isButtonResetActive, 1.0},
        {{530, 628}, &panel().isButtonFreezeActive, 1.0},
    };
    for (const auto& [point, flag, saved] : knobs) {
        begin(point.x, point.y);
        EXPECT_TRUE(*flag);
        EXPECT_EQ(view->savedValue(), saved);
        end();
        EXPECT_FALSE(*flag);
    }
}

TEST_F(VelmoraFlowViewTouchTest, ReleasesCommitTheOperationModeThenTheRangeThenTheBands)
{
    view->setParameter(105, 63.5f);
    show();
    tap(280, 300);
    EXPECT_THAT(takeSent(), ElementsAre(parameter(105, 63), parameter(106, 127)));
    begin(376, 28);
    move(410, -6); // a little over a third of the scale: harmonic shift
    EXPECT_TRUE(delegate->sent.empty());
    end();
    std::vector<Sent> expected = {parameter(104, 1), parameter(105, 63), parameter(106, 127)};
    const std::vector<Sent> inRange = bands(0, notes(63, 127), 0.5f);
    expected.insert(expected.end(), inRange.begin(), inRange.end());
    EXPECT_EQ(delegate->sent, expected);
    EXPECT_EQ(view->hotspotMode(), "");
}

TEST_F(VelmoraFlowViewTouchTest, ACancelCommitsNothingAndKeepsTheHotspot)
{
    show();
    begin(376, 28);
    move(410, -6);
    cancel();
    EXPECT_EQ(panel().valueOperationMode, 1);
    EXPECT_FALSE(panel().isOptionRangeActive);
    EXPECT_EQ(view->hotspotMode(), "operation");
    begin(570, 300);
    move(570, 400);
    cancel();
    EXPECT_EQ(panel().valueRangeRight, 0.75);
    EXPECT_TRUE(delegate->sent.empty());
    EXPECT_THAT(controller->lockChanges, ElementsAre(true, false, true, false));
    EXPECT_EQ(events.back(), Event::touchCancel);
}

TEST_F(VelmoraFlowViewTouchTest, TouchesMapThroughTheCanvasCentredInTheView)
{
    view->setFrame(CGRect(0, 0, 600, 330)); // canvas at half size, 150 points in
    show();
    begin(150 + 25, 225);
    EXPECT_EQ(view->startLocation(), (CGPoint{50, 450}));
    touch->moveTo({601, 200}, UITouch::Phase::ended);
    end();
    EXPECT_THAT(events, ElementsAre(Event::touchDown, Event::touchUpOutside));

    const auto window = std::make_shared<UIWindow>(CGRect(0, 0, 300, 330)); // no margin
    view->setFrame(window->bounds());
    window->addSubview(view);
    window->displayIfNeeded();
    begin(25, 225);
    EXPECT_EQ(view->startLocation(), (CGPoint{50, 450}));
    cancel();
    view->setHidden(true); // draws nothing, so no hit area moves with it
    panel().isDrawerVisible = false;
    view->draw(view->bounds());
    begin(25, 225);
    EXPECT_EQ(view->hotspotMode(), "drawer");
}

} // namespace
