#include "BinMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using VELMORA::BinMath;

namespace {

constexpr BinMath::Path kPaths[] = {BinMath::Path::widestVectors, BinMath::Path::narrowVectors,
                                    BinMath::Path::library};

// Units in the last place of a float of this size, for errors measured in double.
double ulp(double x) {
    const float f = static_cast<float>(std::fabs(x));
    return static_cast<double>(std::nextafter(f, INFINITY) - f);
}

// A frame's worth of complex values plus one, as the bin loops have (N/2 + 1),
// so a short group follows the full vectors; the axes, signed zeros and values
// far apart in size among them.
std::vector<float> complexValues(int count) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> c(2 * static_cast<std::size_t>(count));
    for (float& v : c)
        v = uniform(random);
    const float special[][2] = {{0.0f, 0.0f}, {-0.0f, 0.0f}, {-1.0f, 0.0f}, {-1.0f, -0.0f}, {0.0f, -2.0f},
                                {1e-30f, 3e20f}, {-5e20f, 1e-25f}, {3.0f, 4.0f}};
    for (std::size_t i = 0; i < std::size(special); ++i) {
        c[2 * i] = special[i][0];
        c[2 * i + 1] = special[i][1];
    }
    return c;
}

} // namespace

TEST(BinMathTest, AnglesAreTheArcTangentWithinAnUlpOnEveryPath) {
    const int count = 2049;
    const std::vector<float> c = complexValues(count);
    for (const BinMath::Path path : kPaths) {
        BinMath math;
        math.prepare(path);
        std::vector<float> out(count + 1, 99.0f);
        math.angles(c.data(), out.data(), count);
        for (int k = 0; k < count; ++k) {
            const double want = std::atan2(static_cast<double>(c[2 * k + 1]), static_cast<double>(c[2 * k]));
            ASSERT_LE(std::fabs(out[k] - want), 1.0 * ulp(want) + 1e-45) << "bin " << k;
            ASSERT_EQ(std::signbit(out[k]), std::signbit(want)) << "bin " << k;
        }
        EXPECT_EQ(out[count], 99.0f);  // nothing written past the last bin
    }
}

TEST(BinMathTest, PolarGivesMagnitudeTimesCosineAndSineOnEveryPath) {
    for (const int count : {2049, 3}) {
        std::mt19937 random(9);
        std::uniform_real_distribution<float> phase(-3.1415927f, 3.1415927f);
        std::uniform_real_distribution<float> size(0.0f, 100.0f);
        std::vector<float> magnitudes(static_cast<std::size_t>(count));
        std::vector<float> phases(static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k) {
            magnitudes[k] = size(random);
            phases[k] = phase(random);
        }
        phases[0] = 0.0f;
        phases[1] = 40.0f;  // beyond one turn
        for (const BinMath::Path path : kPaths) {
            BinMath math;
            math.prepare(path);
            std::vector<float> c(2 * static_cast<std::size_t>(count) + 2, 99.0f);
            math.polar(magnitudes.data(), phases.data(), c.data(), count);
            for (int k = 0; k < count; ++k) {
                // One ulp from the function and half of one from the product.
                const double m = magnitudes[k];
                const double re = m * std::cos(static_cast<double>(phases[k]));
                const double im = m * std::sin(static_cast<double>(phases[k]));
                ASSERT_LE(std::fabs(c[2 * k] - re), 1.5 * ulp(m)) << "bin " << k;
                ASSERT_LE(std::fabs(c[2 * k + 1] - im), 1.5 * ulp(m)) << "bin " << k;
            }
            EXPECT_EQ(c[2 * count], 99.0f);
            EXPECT_EQ(c[2 * count + 1], 99.0f);
        }
    }
}
