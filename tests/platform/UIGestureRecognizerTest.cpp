#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UITapGestureRecognizer.h"
#include "UIView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using State = UIGestureRecognizerState;

namespace {

struct Heard {
    std::vector<std::string> calls;

    UIGestureRecognizer::Action note(std::string name)
    {
        return [this, name](UIGestureRecognizer& recognizer) {
            calls.push_back(name + " " + std::to_string(static_cast<int>(recognizer.state())));
        };
    }
};

// A single tap that waits for a double tap to fail, as the plug-in's panel has them.
struct Taps {
    Taps()
    {
        doubleTap->setNumberOfTapsRequired(2);
        tap->require(doubleTap);
        tap->addTarget(heard.note("tap"));
        doubleTap->addTarget(heard.note("double"));
    }

    std::shared_ptr<UITapGestureRecognizer> tap = std::make_shared<UITapGestureRecognizer>();
    std::shared_ptr<UITapGestureRecognizer> doubleTap = std::make_shared<UITapGestureRecognizer>();
    Heard heard;
};

} // namespace

TEST(UIGestureRecognizer, TellsItsTargetsOfEveryStateButPossibleAndFailed)
{
    const auto pan = std::make_shared<UIPanGestureRecognizer>();
    Heard heard;
    pan->addTarget(heard.note("first"));
    pan->addTarget(heard.note("second"));
    for (const State state : {State::began, State::changed, State::possible, State::failed, State::ended,
                              State::cancelled}) {
        pan->setState(state);
    }
    EXPECT_THAT(heard.calls, ElementsAre("first 1", "second 1", "first 2", "second 2", "first 3", "second 3",
                                         "first 4", "second 4"));
    EXPECT_TRUE(pan->cancelsTouchesInView());
}

TEST(UIGestureRecognizer, ATapWaitsForTheDoubleTapToFail)
{
    Taps taps;
    taps.tap->setState(State::ended);
    EXPECT_EQ(taps.tap->state(), State::possible);
    EXPECT_THAT(taps.heard.calls, IsEmpty());
    taps.doubleTap->setState(State::failed);
    EXPECT_EQ(taps.tap->state(), State::ended);
    EXPECT_THAT(taps.heard.calls, ElementsAre("tap 3"));

    // Once the double tap has failed, the next gesture's tap goes through at once.
    taps.tap->reset();
    taps.tap->setState(State::ended);
    EXPECT_THAT(taps.heard.calls, ElementsAre("tap 3", "tap 3"));
}

TEST(UIGestureRecognizer, ARecognisedDoubleTapFailsTheWaitingTap)
{
    Taps taps;
    taps.tap->setState(State::ended);
    taps.doubleTap->setState(State::ended);
    EXPECT_EQ(taps.tap->state(), State::failed);
    EXPECT_THAT(taps.heard.calls, ElementsAre("double 3"));

    // Until reset, a recognised double tap also fails the next tap outright;
    // a reset tap waits again and a reset drops a waiting recognition.
    taps.tap->reset();
    taps.tap->setState(State::ended);
    EXPECT_EQ(taps.tap->state(), State::failed);
    taps.tap->reset();
    taps.doubleTap->reset();
    taps.tap->setState(State::ended);
    taps.tap->reset();
    taps.doubleTap->setState(State::failed);
    EXPECT_EQ(taps.tap->state(), State::possible);
    EXPECT_THAT(taps.heard.calls, ElementsAre("double 3"));
}

TEST(UIGestureRecognizer, BelongsToOneViewWithoutOwningIt)
{
    const auto pinch = std::make_shared<UIPinchGestureRecognizer>();
    auto first = std::make_shared<UIView>();
    const auto second = std::make_shared<UIView>();
    first->addGestureRecognizer(pinch);
    EXPECT_EQ(pinch->view(), first);
    second->addGestureRecognizer(pinch);
    EXPECT_THAT(first->gestureRecognizers(), IsEmpty());
    EXPECT_THAT(second->gestureRecognizers(), ElementsAre(pinch));
    first.reset();
    EXPECT_EQ(pinch->view(), second);
}

TEST(UIPanGestureRecognizer, TranslationIsMeasuredInTheViewAskedFor)
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 400));
    auto panel = std::make_shared<UIView>(CGRect(100, 100, 200, 100));
    root->addSubview(panel);
    panel->setTransform(CGAffineTransform::scale(2, 2));
    UIPanGestureRecognizer pan;
    pan.setTranslation({30, -8}, *root);
    EXPECT_EQ(pan.translation(*root), (CGPoint{30, -8}));
    EXPECT_EQ(pan.translation(*panel), (CGPoint{15, -4}));
    pan.setTranslation({5, 6}, *panel);
    EXPECT_EQ(pan.translation(*root), (CGPoint{10, 12}));
    EXPECT_EQ(panel->convertFromRoot(panel->convertToRoot({7, 9})), (CGPoint{7, 9}));
}
