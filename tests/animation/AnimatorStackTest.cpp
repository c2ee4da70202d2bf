#include "AnimationTestSupport.h"
#include "AnimatorStack.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Which member left the stack on which tick, and the ticks on which the stack finished.
struct StackLog {
    int tick = 0;
    int animations = 0;
    std::vector<std::pair<int, Animator*>> removed;
    std::vector<int> finished;

    explicit StackLog(AnimatorStack& stack)
    {
        stack.onAnimation = [this](AnimatorStack&, const auto&) { ++animations; };
        stack.onRemovedItem = [this](AnimatorStack&, const auto& member) { removed.emplace_back(tick, member.get()); };
        stack.onFinished = [this](AnimatorStack&) { finished.push_back(tick); };
    }
    void ticks(AnimatorStack& stack, int count)
    {
        for (int i = 0; i < count; ++i, ++tick) {
            stack.animate();
        }
    }
};

TEST(AnimatorStackTest, MembersLeaveInTheTickTheyFinishAndTheStackEndsOnTheTickAfter)
{
    TickClock clock;
    auto stack = AnimatorStack::create();
    stack->interval = kTick;
    auto a = memberOf(2);
    auto b = memberOf(5);
    auto c = memberOf(9);
    for (const auto& member : {c, a, b}) {
        stack->add(member);
    }
    stack->add(nullptr);
    EXPECT_EQ(stack->getCount(), 3);
    StackLog log(*stack);
    log.tick = 1;
    stack->start();
    stack->start();
    for (int i = 0; i < 12; ++i, ++log.tick) {
        clock.ticks(1);
    }
    using Removal = std::pair<int, Animator*>;
    EXPECT_EQ(log.removed, (std::vector<Removal>{{2, a.get()}, {5, b.get()}, {9, c.get()}}));
    EXPECT_EQ(log.finished, (std::vector<int>{10}));
    EXPECT_EQ(log.animations, 2 + 5 + 9);
    EXPECT_EQ(stack->getCount(), 0);
}

TEST(AnimatorStackTest, FinishedMembersAreNeverTickedAndADuplicateIsTickedTwice)
{
    auto idle = AnimatorStack::create();
    idle->add(Animator::create());
    StackLog idleLog(*idle);
    idleLog.ticks(*idle, 1);
    EXPECT_EQ(idleLog.animations, 0);
    EXPECT_EQ(idleLog.finished, (std::vector<int>{0}));
    EXPECT_EQ(idle->getCount(), 0);

    auto stack = AnimatorStack::create();
    auto member = memberOf(4);
    stack->add(member);
    stack->add(member);
    StackLog log(*stack);
    log.ticks(*stack, 2);
    EXPECT_EQ(log.animations, 4);
    EXPECT_EQ(log.removed.size(), 1u);
    EXPECT_TRUE(log.finished.empty());
    log.ticks(*stack, 1);
    EXPECT_EQ(log.finished, (std::vector<int>{2}));
}

TEST(AnimatorStackTest, StopForgetsTheMembersAndAMidTickResetRemovesNothing)
{
    auto stack = AnimatorStack::create();
    auto member = memberOf(1);
    stack->add(member);
    EXPECT_EQ(stack->getItems(), (AnimatorList{member}));
    stack->stop();
    EXPECT_EQ(stack->getCount(), 0);

    stack->add(member);
    StackLog log(*stack);
    member->onFinished = [&stack](Animator&, float) { stack->reset(); };
    log.ticks(*stack, 1);
    EXPECT_TRUE(member->isFinished());
    EXPECT_TRUE(log.removed.empty());
}

} // namespace
