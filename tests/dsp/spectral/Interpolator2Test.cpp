#include "Interpolator2.h"

#include <gtest/gtest.h>

namespace {

TEST(Interpolator2, RisesOneStepPerCallAndStopsExactlyOnTheTarget) {
    Interpolator2 ramp;
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

TEST(Interpolator2, FallsWithoutPassingTheTargetTakesSmallChangesAtOnceAndHoldsForItsDelay) {
    Interpolator2 falling(2.0f);
    falling.setDestinationValue(0.5f, 4);
    for (float expected : {1.625f, 1.25f, 0.875f, 0.5f, 0.5f})
        EXPECT_EQ(falling.getValue(), expected);

    Interpolator2 small(1.0f);
    small.setDestinationValue(1.00005f, 12);
    EXPECT_EQ(small.getValue(), 1.00005f);
    small.setDestinationValue(3.0f, 0);  // fewer than one step means one
    EXPECT_EQ(small.getValue(), 3.0f);

    Interpolator2 delayed(0.0f, 2);
    delayed.setDestinationValue(1.0f, 1);
    for (float expected : {0.0f, 0.0f, 1.0f})
        EXPECT_EQ(delayed.getValue(), expected);
}

} // namespace
