#include "PointerGestures.h"
#include "PointerInput.h"
#include "UILongPressGestureRecognizer.h"
#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UITapGestureRecognizer.h"
#include "UITouch.h"
#include "UIView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using State = UIGestureRecognizerState;

namespace {

// The recognisers the plug-in's panel installs on its root view, each
// logging what its targets hear.
class PanelRecognisers : public ::testing::Test {
protected:
    void SetUp() override
    {
        doubleTap->setNumberOfTapsRequired(2);
        tap->require(doubleTap);
        for (const auto& [recogniser, name] : std::vector<std::pair<std::shared_ptr<UIGestureRecognizer>, std::string>>{
                 {pan, "pan"}, {pinch, "pinch"}, {doubleTap, "doubleTap"}, {tap, "tap"}, {longPress, "longPress"}}) {
            recogniser->setCancelsTouchesInView(false);
            view->addGestureRecognizer(recogniser);
            recogniser->addTarget([this, name](UIGestureRecognizer& heard) { log(name, heard); });
        }
    }

    void log(const std::string& name, UIGestureRecognizer& recogniser)
    {
        static const char* const states[] = {"possible", "began", "changed", "ended", "cancelled", "failed"};
        std::ostringstream line;
        line << name << ' ' << states[int(recogniser.state())];
        if (&recogniser == pan.get()) {
            const CGPoint moved = pan->translation(*view);
            line << ' ' << int(moved.x) << ',' << int(moved.y);
        } else if (&recogniser == pinch.get()) {
            line << ' ' << std::lround(pinch->scale() * 1000);
        }
        heard.push_back(line.str());
    }

    PointerGestures::Recognisers all() const { return view->gestureRecognizers(); }

    std::shared_ptr<UIView> view = std::make_shared<UIView>(CGRect(0, 0, 400, 300));
    std::shared_ptr<UIPanGestureRecognizer> pan = std::make_shared<UIPanGestureRecognizer>();
    std::shared_ptr<UIPinchGestureRecognizer> pinch = std::make_shared<UIPinchGestureRecognizer>();
    std::shared_ptr<UITapGestureRecognizer> doubleTap = std::make_shared<UITapGestureRecognizer>();
    std::shared_ptr<UITapGestureRecognizer> tap = std::make_shared<UITapGestureRecognizer>();
    std::shared_ptr<UILongPressGestureRecognizer> longPress = std::make_shared<UILongPressGestureRecognizer>();
    PointerGestures gestures;
    std::vector<std::string> heard;
};

// A view that records the touches it hears.
class TouchLog : public UIView {
public:
    using UIView::UIView;
    void touchesBegan(const Touches& touches, UIEvent*) override { record("began", touches); }
    void touchesMoved(const Touches& touches, UIEvent*) override { record("moved", touches); }
    void touchesEnded(const Touches& touches, UIEvent*) override { record("ended", touches); }
    void touchesCancelled(const Touches& touches, UIEvent*) override { record("cancelled", touches); }

    std::vector<std::string> heard;

private:
    void record(const std::string& phase, const Touches& touches)
    {
        const CGPoint at = (*touches.begin())->location(*this);
        heard.push_back(phase + " " + std::to_string(int(at.x)) + "," + std::to_string(int(at.y)));
    }
};

} // namespace

TEST_F(PanelRecognisers, ATapWaitsForTheDoubleTapToFailAndTwoQuickTapsAreADoubleTapAlone)
{
    gestures.press(all(), {100, 100}, 10.0);
    gestures.release({101, 100}, 10.1);
    EXPECT_TRUE(heard.empty());
    ASSERT_TRUE(gestures.nextDeadline());
    EXPECT_DOUBLE_EQ(*gestures.nextDeadline(), 10.1 + PointerGestures::kMultiTapInterval);
    gestures.advance(10.3);
    EXPECT_TRUE(heard.empty());
    gestures.advance(10.5);
    EXPECT_THAT(heard, ElementsAre("tap ended"));

    heard.clear();
    gestures.press(all(), {100, 100}, 20.0);
    gestures.release({100, 100}, 20.08);
    gestures.press(all(), {103, 101}, 20.3);
    gestures.release({103, 101}, 20.38);
    EXPECT_THAT(heard, ElementsAre("doubleTap ended"));
    gestures.advance(30);
    EXPECT_THAT(heard, ElementsAre("doubleTap ended"));
    EXPECT_FALSE(gestures.nextDeadline());

    // Too slow, or too far apart: two single taps.
    heard.clear();
    gestures.press(all(), {100, 100}, 40.0);
    gestures.release({100, 100}, 40.1);
    gestures.press(all(), {100, 100}, 40.6);
    EXPECT_THAT(heard, ElementsAre("tap ended"));
    gestures.release({100, 100}, 40.7);
    gestures.press(all(), {200, 100}, 40.8);
    gestures.release({200, 100}, 40.9);
    gestures.advance(41.5);
    EXPECT_THAT(heard, ElementsAre("tap ended", "tap ended", "tap ended"));
}

TEST_F(PanelRecognisers, APressHeldStillIsALongPressAndNoTap)
{
    gestures.press(all(), {50, 60}, 5.0);
    ASSERT_TRUE(gestures.nextDeadline());
    EXPECT_DOUBLE_EQ(*gestures.nextDeadline(), 5.5);
    gestures.advance(5.49);
    EXPECT_TRUE(heard.empty());
    gestures.advance(5.5);
    gestures.move({53, 60}, 5.6);
    gestures.move({80, 60}, 5.7);
    gestures.release({80, 60}, 6.0);
    gestures.advance(10);
    EXPECT_THAT(heard, ElementsAre("longPress began", "longPress changed", "longPress ended"));
}

TEST_F(PanelRecognisers, APressMovedPastTheThresholdIsAPanWithItsTranslationAndNothingElse)
{
    gestures.press(all(), {100, 100}, 1.0);
    gestures.move({104, 103}, 1.05);
    EXPECT_TRUE(heard.empty());
    gestures.move({120, 90}, 1.1);
    gestures.move({150, 80}, 1.2);
    // Still until past the long press's time: a pan already recognised.
    gestures.advance(2.0);
    gestures.release({160, 80}, 2.1);
    gestures.advance(5);
    EXPECT_THAT(heard, ElementsAre("pan began 20,-10", "pan changed 20,-10", "pan changed 50,-20",
                                   "pan changed 60,-20", "pan ended 60,-20"));
}

TEST_F(PanelRecognisers, ZoomStepsScaleByAFixedFactorAndEndWhenTheyPause)
{
    const double in = PointerGestures::kZoomStepFactor;
    gestures.zoomStep(all(), in, 1.0);
    gestures.zoomStep(all(), in, 1.1);
    gestures.zoomStep(all(), 1 / in, 1.2);
    gestures.advance(1.2 + PointerGestures::kZoomIdleSeconds / 2);
    // Like a pinch, the zoom begins at scale 1; its first step is a change.
    EXPECT_THAT(heard, ElementsAre("pinch began 1000", "pinch changed 1100", "pinch changed 1210",
                                   "pinch changed 1100"));
    gestures.advance(1.2 + PointerGestures::kZoomIdleSeconds);
    EXPECT_EQ(heard.back(), "pinch ended 1100");

    // A touchscreen zoom follows the fingers' scale.
    heard.clear();
    gestures.zoomBegan(all());
    gestures.zoomChanged(0.5);
    gestures.zoomEnded();
    EXPECT_THAT(heard, ElementsAre("pinch began 1000", "pinch changed 500", "pinch ended 500"));
    EXPECT_EQ(pinch->state(), State::possible);
}

TEST_F(PanelRecognisers, ACancelledPressCancelsItsPanAndLeavesEveryRecogniserReady)
{
    gestures.press(all(), {10, 10}, 1.0);
    gestures.move({40, 10}, 1.1);
    gestures.cancel();
    EXPECT_THAT(heard, ElementsAre("pan began 30,0", "pan changed 30,0", "pan cancelled 30,0"));
    for (const auto& recogniser : all()) {
        EXPECT_EQ(recogniser->state(), State::possible);
    }
}

// A target may present or dismiss a screen, which cancels the press while
// its recognisers are being driven: those not reached yet stay ready.
TEST_F(PanelRecognisers, ATargetThatCancelsThePressStopsTheRecognisersNotReachedYet)
{
    const auto later = std::make_shared<UILongPressGestureRecognizer>();
    view->addGestureRecognizer(later);
    later->addTarget([this](UIGestureRecognizer& heard) { log("later", heard); });
    longPress->addTarget([this](UIGestureRecognizer& heard) {
        if (heard.state() == State::began) {
            gestures.cancel();
        }
    });
    gestures.press(all(), {50, 60}, 5.0);
    gestures.advance(5.5);
    EXPECT_THAT(heard, ElementsAre("longPress began", "longPress cancelled"));
    EXPECT_EQ(later->state(), State::possible);
}

// Input goes to the deepest shown view under the pointer; recognisers of it
// and of its ancestors read the press first; one that cancels touches in its
// view ends the view's touch when it recognises.
TEST(PointerInput, TouchesGoToTheDeepestShownViewAndARecogniserThatCancelsTouchesEndsThem)
{
    const auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 300));
    const auto panel = std::make_shared<TouchLog>(CGRect(100, 100, 200, 100));
    const auto control = std::make_shared<TouchLog>(CGRect(10, 10, 50, 50));
    const auto beyond = std::make_shared<TouchLog>(CGRect(180, 80, 60, 40));
    const auto cover = std::make_shared<TouchLog>(CGRect(0, 0, 400, 300));
    cover->setHidden(true);
    root->addSubview(panel);
    panel->addSubview(control);
    panel->addSubview(beyond);
    root->addSubview(cover);
    EXPECT_EQ(PointerInput::hitTest(root, {120, 120}), control);
    EXPECT_EQ(PointerInput::hitTest(root, {200, 180}), panel);
    EXPECT_EQ(PointerInput::hitTest(root, {50, 50}), root);
    EXPECT_EQ(PointerInput::hitTest(root, {320, 210}), beyond);
    EXPECT_EQ(PointerInput::hitTest(root, {400, 50}), nullptr);
    control->setAlpha(0);
    EXPECT_EQ(PointerInput::hitTest(root, {120, 120}), panel);
    control->setAlpha(1);

    const auto pan = std::make_shared<UIPanGestureRecognizer>();
    std::vector<State> panStates;
    pan->addTarget([&](UIGestureRecognizer& heard) { panStates.push_back(heard.state()); });
    panel->addGestureRecognizer(pan);
    PointerInput input([&] { return root; });

    pan->setCancelsTouchesInView(false);
    input.press({120, 120}, 1.0);
    input.move({150, 120}, 1.1);
    input.release({150, 120}, 1.2);
    EXPECT_THAT(control->heard, ElementsAre("began 10,10", "moved 40,10", "ended 40,10"));
    EXPECT_THAT(panStates, ElementsAre(State::began, State::changed, State::ended));

    control->heard.clear();
    pan->setCancelsTouchesInView(true);
    input.press({120, 120}, 2.0);
    input.move({150, 120}, 2.1);
    input.move({160, 120}, 2.2);
    input.release({160, 120}, 2.3);
    EXPECT_THAT(control->heard, ElementsAre("began 10,10", "cancelled 40,10"));
    EXPECT_TRUE(panel->heard.empty());
}
