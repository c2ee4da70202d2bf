#include "AnimationTestSupport.h"
#include "Impulse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct ImpulseLog {
    std::vector<float> values;
    std::vector<float> finalValues;
    int collisions = 0;

    explicit ImpulseLog(Impulse& impulse)
    {
        impulse.onAnimation = [this](Impulse& i) { values.push_back(i.getValue()); };
        impulse.onFinished = [this](Impulse& i) { finalValues.push_back(i.getValue()); };
        impulse.onCollision = [this](Impulse&) { ++collisions; };
    }
};

TEST(ImpulseTest, APushCoastsToRestAndEndsOnTheTickAfterTheLastStep)
{
    struct Case {
        float push;
        int valueTicks;
    };
    for (const Case c : {Case{1.0f, 24}, Case{-1.0f, 24}, Case{100.0f, 40}}) {
        TickClock clock;
        auto impulse = Impulse::create(1, c.push, kTick);
        ImpulseLog log(*impulse);
        impulse->start();
        impulse->start();
        clock.ticks(c.valueTicks);
        ASSERT_EQ(log.values.size(), static_cast<std::size_t>(c.valueTicks)) << c.push;
        // Without walls the value after n ticks is a i (1 - i^n) / (1 - i).
        for (int n = 1; n <= c.valueTicks; ++n) {
            const double expected = c.push * 0.75 * (1.0 - std::pow(0.75, n)) / 0.25;
            EXPECT_NEAR(log.values[static_cast<std::size_t>(n - 1)], expected, 1e-5 * std::fabs(c.push)) << n;
        }
        EXPECT_TRUE(log.finalValues.empty());
        clock.ticks(4);
        EXPECT_EQ(log.finalValues, std::vector<float>{log.values.back()});
        EXPECT_EQ(log.values.size(), static_cast<std::size_t>(c.valueTicks));
        EXPECT_TRUE(impulse->isFinished());
        EXPECT_EQ(impulse->getValue(), 0.0f);
    }
}

TEST(ImpulseTest, TheValueBouncesOffAWallAndTurns)
{
    auto impulse = Impulse::create(1, 100.0f);
    impulse->setMinMax(true, -1024.0f, 50.0f);
    ImpulseLog log(*impulse);
    animateTimes(*impulse, 1);
    EXPECT_EQ(impulse->getValue(), 0.0f);
    EXPECT_EQ(log.collisions, 1);
    animateTimes(*impulse, 40);
    EXPECT_EQ(log.collisions, 1);
    // After the bounce the steps are -100 x 0.75^n for n = 2 ... 40.
    EXPECT_EQ(log.finalValues.size(), 1u);
    EXPECT_NEAR(log.values.back(), -225.0 + 400.0 * std::pow(0.75, 41), 1e-3);

    auto exact = Impulse::create(1, 1.0f);
    exact->setMinMax(true, -10.0f, 0.75f);
    ImpulseLog onTheWall(*exact);
    animateTimes(*exact, 1);
    EXPECT_EQ(onTheWall.collisions, 1);
}

TEST(ImpulseTest, SetupArmsWithoutStartingAndAppliesAtOnceWhileRunning)
{
    TickClock clock;
    auto impulse = Impulse::create();
    impulse->setup(-4, 1.0f, kTick);
    EXPECT_FALSE(impulse->isFinished());
    ImpulseLog log(*impulse);
    impulse->start();
    clock.ticks(1);
    impulse->setup(1, 2.0f, 10.0f, 0.5f);
    clock.ticks(1);
    EXPECT_EQ(log.values, (std::vector<float>{0.75f, 1.75f}));
    impulse->stop();
    EXPECT_TRUE(impulse->isFinished());
    clock.ticks(2);
    EXPECT_EQ(log.values.size(), 2u);
    EXPECT_TRUE(log.finalValues.empty());
}

} // namespace
