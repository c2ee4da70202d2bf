#include "AnimationTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Values = std::vector<float>;

// What an animator reported through its three callbacks.
struct Reports {
    Values animated;
    Values finished;
    int loops = 0;

    explicit Reports(Animator& animator)
    {
        animator.onAnimation = [this](Animator&, float value) { animated.push_back(value); };
        animator.onFinished = [this](Animator&, float value) { finished.push_back(value); };
        animator.onLoop = [this](Animator&) { ++loops; };
    }
};

TEST(AnimatorTest, ARunOfFourFramesReportsFourValuesAndFinishesOnTheFifthTick)
{
    TickClock clock;
    auto animator = Animator::create(0.0f, 1.0f, 4, kTick);
    Reports reports(*animator);
    animator->start();
    animator->start(); // replaces the first timer, which would otherwise tick as well
    clock.ticks(4);
    EXPECT_EQ(reports.animated, (Values{0.0f, 0.25f, 0.5f, 0.75f}));
    EXPECT_TRUE(reports.finished.empty());
    clock.ticks(1);
    EXPECT_EQ(reports.finished, (Values{1.0f}));
    EXPECT_TRUE(animator->isFinished());
    EXPECT_EQ(animator->getValue(), 1.0f);
    clock.ticks(5);
    EXPECT_EQ(reports.animated.size() + reports.finished.size(), 5u);
}

TEST(AnimatorTest, ALoopedRunPingPongsUntilStoppedAndStopClearsLooped)
{
    TickClock clock;
    auto animator = Animator::create(0.0f, 1.0f, 3, kTick);
    animator->looped = true;
    Reports reports(*animator);
    animator->start();
    clock.ticks(8);
    EXPECT_EQ(reports.loops, 2);
    ASSERT_EQ(reports.animated.size(), 6u);
    EXPECT_EQ(reports.animated[3], 1.0f);
    EXPECT_NEAR(reports.animated[4], 2.0f / 3.0f, 1e-6f);
    EXPECT_EQ(animator->getValue(), 0.0f);
    animator->stop();
    EXPECT_FALSE(animator->looped);
    clock.ticks(8);
    EXPECT_EQ(reports.animated.size(), 6u);
    EXPECT_TRUE(reports.finished.empty());
}

TEST(AnimatorTest, AnAnimatorWhoseCallerDroppedItRunsToItsEndAndIsThenReleased)
{
    TickClock clock;
    const std::int64_t before = Animator::classCount();
    Values finished;
    Animator::create(0.0f, 8.0f, 4, kTick)->start();
    {
        auto second = Animator::create(0.0f, 8.0f, 4, kTick);
        second->onFinished = [&finished](Animator&, float value) { finished.push_back(value); };
        second->start();
    }
    clock.ticks(4);
    EXPECT_EQ(Animator::classCount(), before + 2);
    clock.ticks(1);
    EXPECT_EQ(finished, (Values{8.0f}));
    EXPECT_EQ(Animator::classCount(), before);
}

TEST(AnimatorTest, OnFinishedComesAfterTheStopAndMayStartTheNextRun)
{
    TickClock clock;
    auto animator = Animator::create(0.0f, 1.0f, 2, kTick);
    Reports reports(*animator);
    animator->onFinished = [&reports](Animator& self, float value) {
        reports.finished.push_back(value);
        if (reports.finished.size() == 1) {
            self.setup(value, 0.0f, 2, kTick);
            self.start();
        }
    };
    animator->start();
    clock.ticks(6);
    EXPECT_EQ(reports.animated, (Values{0.0f, 0.5f, 1.0f, 0.5f}));
    EXPECT_EQ(reports.finished, (Values{1.0f, 0.0f}));
}

TEST(AnimatorTest, ReverseRewindAndUndo)
{
    auto animator = Animator::create(0.0f, 4.0f, 4, 0.25f, EnumEasing::EASING_easeInQuad);
    animateTimes(*animator, 2);
    animator->reverse();
    EXPECT_EQ(animator->getValue(), 4.0f);
    Reports back(*animator);
    animateTimes(*animator, 5);
    EXPECT_EQ(back.animated[1], 4.0f - 4.0f * 0.0625f);
    EXPECT_EQ(back.finished, (Values{0.0f}));

    // The last setup was the reversal; rewind re-arms it linearly.
    animator->rewind();
    Reports again(*animator);
    animateTimes(*animator, 5);
    EXPECT_EQ(again.animated, (Values{4.0f, 3.0f, 2.0f, 1.0f}));

    auto undone = Animator::create(2.0f, 5.0f, 100, kTick, EnumEasing::EASING_easeOutBounce);
    animateTimes(*undone, 2);
    Reports undo(*undone);
    undone->undo();
    EXPECT_EQ(undo.animated, (Values{2.0f}));
    EXPECT_EQ(undo.finished, (Values{5.0f}));
    EXPECT_TRUE(undone->isFinished());

    undone->looped = true;
    undone->undo();
    EXPECT_EQ(undo.loops, 1);
    EXPECT_EQ(undone->getSourceValue(), 5.0f);
    EXPECT_FALSE(undone->isFinished());
}

} // namespace
