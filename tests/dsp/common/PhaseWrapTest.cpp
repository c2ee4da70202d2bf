#include "PhaseWrap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

TEST(PhaseWrap, BringsPhasesIntoOneTurnAroundZeroAndRestartsNonFiniteOnesAtZero) {
    EXPECT_EQ(VELMORA::wrapPhase(-3.0f), -3.0f);
    EXPECT_NEAR(VELMORA::wrapPhase(7.0f), 7.0 - 2.0 * M_PI, 1e-6);
    EXPECT_NEAR(VELMORA::wrapPhase(-7.0f), -7.0 + 2.0 * M_PI, 1e-6);
    for (float phase : {12345.678f, -98765.43f, 1.0e7f}) {
        const float wrapped = VELMORA::wrapPhase(phase);
        EXPECT_LE(std::fabs(wrapped), static_cast<float>(M_PI));
        EXPECT_NEAR(std::cos(wrapped), std::cos(static_cast<double>(phase)), 1e-5) << phase;
        EXPECT_NEAR(std::sin(wrapped), std::sin(static_cast<double>(phase)), 1e-5) << phase;
    }
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
        EXPECT_EQ(VELMORA::wrapPhase(bad), 0.0f);
}

// The batch form must give wrapPhase's bits, including at the turn edges,
// for signed zeros, beyond the fast range and for values that are not finite.
TEST(PhaseWrap, BatchGivesTheBitsOfOneByOne) {
    const float pi = static_cast<float>(M_PI);
    std::vector<float> phases = {0.0f, -0.0f, pi, -pi, std::nextafter(pi, 4.0f), std::nextafter(-pi, -4.0f),
                                 2.0f * pi, -2.0f * pi, 3.0f * pi, -3.0f * pi, 1.0e-30f, -1.0e-30f,
                                 1.5e15f, -3.0e20f, std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
    std::mt19937 generator(5);
    std::uniform_real_distribution<float> turns(-2000.0f, 2000.0f);
    while (phases.size() < 4003) {
        phases.push_back(turns(generator));
    }
    std::vector<float> batch = phases;
    VELMORA::wrapPhases(batch.data(), static_cast<int32_t>(batch.size()));
    std::vector<float> wide = phases;
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        VELMORA::wrapPhasesWide(wide.data(), static_cast<int32_t>(wide.size()));
    } else {
        wide = batch;
    }
    for (std::size_t i = 0; i < phases.size(); ++i) {
        const float single = VELMORA::wrapPhase(phases[i]);
        EXPECT_EQ(std::memcmp(&batch[i], &single, sizeof single), 0) << phases[i];
        EXPECT_EQ(std::memcmp(&wide[i], &single, sizeof single), 0) << phases[i];
    }
}

} // namespace
