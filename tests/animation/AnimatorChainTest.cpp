#include "AnimationTestSupport.h"
#include "AnimatorChain.h"
#include "Console.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ChainLog {
    std::vector<Animator*> animated;
    int finished = 0;

    explicit ChainLog(AnimatorChain& chain)
    {
        chain.onAnimation = [this](AnimatorChain&, const auto& member) { animated.push_back(member.get()); };
        chain.onFinished = [this](AnimatorChain&) { ++finished; };
    }
};

std::shared_ptr<AnimatorChain> chainOf(const AnimatorList& members)
{
    auto chain = AnimatorChain::create();
    chain->interval = kTick;
    for (const auto& member : members)
        chain->add(member);
    return chain;
}

TEST(AnimatorChainTest, MembersRunOneAfterTheOtherAndTheChainEndsWithTheLast)
{
    TickClock clock;
    auto first = memberOf(3);
    auto second = memberOf(2);
    auto chain = chainOf({first, second});
    ChainLog log(*chain);
    chain->start();
    chain->start();
    clock.ticks(3);
    EXPECT_TRUE(first->isFinished());
    EXPECT_EQ(second->getValue(), 0.0f);
    EXPECT_EQ(chain->getCurrentItem(), second);
    clock.ticks(4);
    EXPECT_EQ(log.animated, (std::vector<Animator*>{first.get(), first.get(), first.get(), second.get(), second.get()}));
    EXPECT_EQ(log.finished, 1);
    EXPECT_EQ(chain->getCurrentIndex(), 0);
    EXPECT_EQ(chain->getCount(), 2);
}

TEST(AnimatorChainTest, BackwardsTheChainEndsOnReachingIndexZero)
{
    auto first = memberOf(1);
    auto second = memberOf(1);
    auto chain = chainOf({first, second, memberOf(3)});
    chain->setBackwards(true);
    ChainLog atZero(*chain);
    chain->animate();
    EXPECT_EQ(atZero.finished, 1);
    EXPECT_EQ(atZero.animated, (std::vector<Animator*>{first.get()}));

    chain->setBackwards(false);
    chain->animate();
    chain->animate();
    chain->setBackwards(true);
    ChainLog log(*chain);
    animateTimes(*chain, 4);
    EXPECT_EQ(log.animated.size(), 4u);
    EXPECT_EQ(log.animated.back(), second.get());
    EXPECT_EQ(log.finished, 1);
}

TEST(AnimatorChainTest, AnEmptyChainWarnsOnEveryTickUntilRemoveAllStopsIt)
{
    TickClock clock;
    Console::Capture console;
    auto chain = chainOf({memberOf(1)});
    chain->remove(chain->getCurrentItem());
    ChainLog log(*chain);
    chain->start();
    clock.ticks(2);
    chain->removeAll();
    clock.ticks(2);
    const std::string warning = "WARNUNG: Es sind keine Animator Objekte definiert.";
    EXPECT_EQ(console.lines(), (std::vector<std::string>{warning, warning}));
    EXPECT_EQ(log.finished, 0);
}

TEST(AnimatorChainTest, RemovalsIgnoreStrangersAndPullTheIndexBackIntoTheList)
{
    auto first = memberOf(1);
    auto second = memberOf(3);
    auto chain = chainOf({first, second, first});
    chain->remove(memberOf(1));
    chain->remove(nullptr);
    chain->remove(first);
    EXPECT_EQ(chain->getCount(), 2);
    EXPECT_EQ(chain->getCurrentItem(), second);
    animateTimes(*chain, 3);
    EXPECT_EQ(chain->getCurrentItem(), first);
    chain->remove(first);
    EXPECT_EQ(chain->getCurrentItem(), nullptr);
    ChainLog log(*chain);
    chain->animate();
    EXPECT_EQ(log.animated, (std::vector<Animator*>{second.get()}));
    EXPECT_EQ(log.finished, 1);
}

} // namespace
