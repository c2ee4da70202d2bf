#include "FFTPlan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

using VELMORA::FFTPlan;

namespace {

std::vector<float> randomSignal(int n, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> values(2 * static_cast<std::size_t>(n));
    for (float& v : values) {
        v = dist(generator);
    }
    return values;
}

// The plain radix-2 transform: bit reversal by counting bits, twiddles by
// recurrence within each pass, single precision throughout.
void plainFft(int sign, float* buf, int n) {
    for (int i = 2; i < 2 * n - 2; i += 2) {
        int j = 0;
        for (int bitm = 2; bitm < 2 * n; bitm <<= 1) {
            j = (j + ((i & bitm) ? 1 : 0)) << 1;
        }
        if (i < j) {
            std::swap(buf[i], buf[j]);
            std::swap(buf[i + 1], buf[j + 1]);
        }
    }
    for (int le = 4; le <= 2 * n; le <<= 1) {
        const int le2 = le >> 1;
        float ur = 1.0f, ui = 0.0f;
        const float arg = 3.1415927f / static_cast<float>(le2 >> 1);
        const float wr = std::cos(arg), wi = static_cast<float>(sign) * std::sin(arg);
        for (int j = 0; j < le2; j += 2) {
            for (float* p1 = buf + j; p1 < buf + 2 * n; p1 += le) {
                float* p2 = p1 + le2;
                const float tr = p2[0] * ur - p2[1] * ui;
                const float ti = p2[0] * ui + p2[1] * ur;
                p2[0] = p1[0] - tr;
                p2[1] = p1[1] - ti;
                p1[0] += tr;
                p1[1] += ti;
            }
            const float next = ur * wr - ui * wi;
            ui = ur * wi + ui * wr;
            ur = next;
        }
    }
}

} // namespace

TEST(FFTPlanTest, BothDirectionsMatchADoublePrecisionDft) {
    for (int n : {2, 8, 4096}) {
        FFTPlan plan;
        ASSERT_TRUE(plan.prepare(n));
        for (int sign : {-1, 1}) {
            std::vector<float> x = randomSignal(n, 7u + static_cast<unsigned>(n));
            std::vector<std::complex<double>> roots, expected(static_cast<std::size_t>(n));
            for (int r = 0; r < n; ++r) {
                roots.push_back(std::polar(1.0, sign * 2.0 * M_PI * r / n));
            }
            for (int k = 0; k < n; ++k) {
                for (int t = 0; t < n; ++t) {
                    expected[static_cast<std::size_t>(k)] +=
                        std::complex<double>(x[2 * t], x[2 * t + 1]) * roots[static_cast<std::size_t>((t * k) % n)];
                }
            }
            plan.transform(sign, x.data());
            // The twiddle recurrence loses about one rounding per step.
            const double tolerance = 2e-6 * n;
            for (int k = 0; k < n; ++k) {
                ASSERT_NEAR(x[2 * k], expected[static_cast<std::size_t>(k)].real(), tolerance) << n << " " << k;
                ASSERT_NEAR(x[2 * k + 1], expected[static_cast<std::size_t>(k)].imag(), tolerance) << n << " " << k;
            }
        }
    }
}

TEST(FFTPlanTest, ForwardThenInverseGivesNTimesTheInputAndOtherSizesAreRefused) {
    FFTPlan plan;
    ASSERT_TRUE(plan.prepare(4096));
    const std::vector<float> x = randomSignal(4096, 3u);
    std::vector<float> y = x;
    plan.transform(-1, y.data());
    plan.transform(1, y.data());
    for (std::size_t i = 0; i < x.size(); ++i) {
        ASSERT_NEAR(y[i], 4096 * x[i], 0.4) << i;
    }
    EXPECT_FALSE(plan.prepare(12));
    EXPECT_EQ(plan.size(), 0);
}

// Every size, so that each pass layout of the fast path is compared; a few
// signed zeros and infinities check that no multiplication was left out.
TEST(FFTPlanTest, TabledTransformIsBitIdenticalToThePlainOne) {
    for (const FFTPlan::Vectors vectors : {FFTPlan::Vectors::widest, FFTPlan::Vectors::narrow}) {
        for (int n = 2; n <= 4096; n *= 2) {
            FFTPlan plan;
            ASSERT_TRUE(plan.prepare(n, vectors));
            for (int sign : {-1, 1}) {
                std::vector<float> tabled = randomSignal(n, 11u * static_cast<unsigned>(n));
                if (n >= 64 && sign > 0) {
                    tabled[6] = -0.0f;
                    tabled[9] = 0.0f;
                    tabled[40] = INFINITY;
                    tabled[51] = -INFINITY;
                }
                std::vector<float> plain = tabled;
                plan.transform(sign, tabled.data());
                plainFft(sign, plain.data(), n);
                ASSERT_EQ(std::memcmp(tabled.data(), plain.data(), tabled.size() * sizeof(float)), 0) << n;
            }
        }
    }
}
