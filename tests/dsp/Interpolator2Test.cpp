#include "Interpolator2.h"

#include <gtest/gtest.h>

namespace {

TEST(Interpolator2, RisesOneStepPerCallAndStopsExactlyOnTheTarget) {
    Interpolator2 ramp;
    EXPECT_EQ(ramp.getValue(), 0.0f);
    ramp.setDestinationValue(1.0f, 12);
    const float step = 1.0f / 12.0f;
    float expected = 0.0f;
    // In single precision twelve steps of 1/12 stay just below 1.0.
    for (int call = 1; call <= 12; ++call) {
        expected += step;
        EXPECT_EQ(ramp.getValue(), expected) << call;
        EXPECT_LT(expected, 1.0f);
    }
    EXPECT_EQ(ramp.getValue(), 1.0f);
    EXPECT_EQ(ramp.getValue(), 1.0f);
}

TEST(Interpolator2, FallsToALowerTargetWithoutPassingIt) {
    Interpolator2 ramp(2.0f);
    ramp.setDestinationValue(0.5f, 4);
    EXPECT_EQ(ramp.getValue(), 1.625f);
    EXPECT_EQ(ramp.getValue(), 1.25f);
    EXPECT_EQ(ramp.getValue(), 0.875f);
    EXPECT_EQ(ramp.getValue(), 0.5f);
    EXPECT_EQ(ramp.getValue(), 0.5f);
}

TEST(Interpolator2, SmallChangesAndTheSameTarget) {
    Interpolator2 ramp(1.0f);
    ramp.setDestinationValue(1.00005f, 12);
    EXPECT_EQ(ramp.getValue(), 1.00005f);

    ramp.setDestinationValue(3.0f, 0);  // fewer than one step means one
    EXPECT_EQ(ramp.getValue(), 3.0f);

    ramp.setDestinationValue(4.0f, 2);
    EXPECT_EQ(ramp.getValue(), 3.5f);
    ramp.setDestinationValue(4.0f, 100);  // already the target: the ramp goes on
    EXPECT_EQ(ramp.getValue(), 4.0f);
}

TEST(Interpolator2, DelayHoldsTheValueFirst) {
    Interpolator2 ramp(0.0f, 2);
    ramp.setDestinationValue(1.0f, 1);
    EXPECT_EQ(ramp.getValue(), 0.0f);
    EXPECT_EQ(ramp.getValue(), 0.0f);
    EXPECT_EQ(ramp.getValue(), 1.0f);
    EXPECT_EQ(Interpolator2::getAbsVal(-2.5f), 2.5f);
}

} // namespace
