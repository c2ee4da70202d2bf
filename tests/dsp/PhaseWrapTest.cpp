#include "PhaseWrap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(PhaseWrap, BringsPhasesIntoOneTurnAroundZero) {
    const float pi = static_cast<float>(M_PI);
    EXPECT_EQ(VELMORA::wrapPhase(1.0f), 1.0f);
    EXPECT_EQ(VELMORA::wrapPhase(-3.0f), -3.0f);
    EXPECT_NEAR(VELMORA::wrapPhase(2.5f * pi), 0.5 * M_PI, 1e-6);
    EXPECT_NEAR(VELMORA::wrapPhase(-2.5f * pi), -0.5 * M_PI, 1e-6);
    EXPECT_NEAR(VELMORA::wrapPhase(7.0f), 7.0 - 2.0 * M_PI, 1e-6);
    EXPECT_NEAR(VELMORA::wrapPhase(-7.0f), -7.0 + 2.0 * M_PI, 1e-6);
    for (float phase : {12345.678f, -98765.43f, 1.0e7f}) {
        const float wrapped = VELMORA::wrapPhase(phase);
        EXPECT_LE(std::fabs(wrapped), pi);
        EXPECT_NEAR(std::cos(wrapped), std::cos(static_cast<double>(phase)), 1e-5) << phase;
        EXPECT_NEAR(std::sin(wrapped), std::sin(static_cast<double>(phase)), 1e-5) << phase;
    }
}

TEST(PhaseWrap, NonFiniteValuesRestartAtZero) {
    EXPECT_EQ(VELMORA::wrapPhase(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(VELMORA::wrapPhase(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(VELMORA::wrapPhase(-std::numeric_limits<float>::infinity()), 0.0f);
}

} // namespace
