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

// Direct DFT in double precision: X[k] = sum x[n] e^(sign i 2 pi n k / N).
std::vector<std::complex<double>> dft(const std::vector<float>& x, int sign) {
    const std::size_t n = x.size() / 2;
    std::vector<std::complex<double>> roots(n);
    for (std::size_t r = 0; r < n; ++r) {
        roots[r] = std::polar(1.0, sign * 2.0 * M_PI * static_cast<double>(r) / static_cast<double>(n));
    }
    std::vector<std::complex<double>> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<double> sum;
        for (std::size_t t = 0; t < n; ++t) {
            sum += std::complex<double>(x[2 * t], x[2 * t + 1]) * roots[(t * k) % n];
        }
        out[k] = sum;
    }
    return out;
}

// The plain radix-2 transform: bit reversal by counting bits, twiddles by
// recurrence within each pass, single precision throughout.
void plainFft(int sign, float* buf, int n) {
    const float pi = 3.1415927f;
    for (int i = 2; i < 2 * n - 2; i += 2) {
        int j = 0;
        for (int bitm = 2; bitm < 2 * n; bitm <<= 1) {
            if (i & bitm) {
                j++;
            }
            j <<= 1;
        }
        if (i < j) {
            std::swap(buf[i], buf[j]);
            std::swap(buf[i + 1], buf[j + 1]);
        }
    }
    const int passes = static_cast<int>(std::log2(n) + 0.5);
    for (int k = 0, le = 2; k < passes; k++) {
        le <<= 1;
        const int le2 = le >> 1;
        float ur = 1.0f;
        float ui = 0.0f;
        const float arg = pi / static_cast<float>(le2 >> 1);
        const float wr = std::cos(arg);
        const float wi = static_cast<float>(sign) * std::sin(arg);
        for (int j = 0; j < le2; j += 2) {
            for (int i = j; i < 2 * n; i += le) {
                float* p1 = buf + i;
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

double largest(const std::vector<std::complex<double>>& values) {
    double m = 0.0;
    for (const auto& v : values) {
        m = std::max(m, std::abs(v));
    }
    return m;
}

} // namespace

TEST(FFTPlanTest, BothDirectionsMatchADoublePrecisionDft) {
    for (int n : {2, 8, 256, 4096}) {
        FFTPlan plan;
        ASSERT_TRUE(plan.prepare(n));
        for (int sign : {-1, 1}) {
            std::vector<float> x = randomSignal(n, 7u + static_cast<unsigned>(n));
            const auto expected = dft(x, sign);
            plan.transform(sign, x.data());
            // The twiddle recurrence loses about one rounding per step.
            const double tolerance = 1e-7 * largest(expected) * n + 1e-6;
            for (int k = 0; k < n; ++k) {
                EXPECT_NEAR(x[2 * k], expected[k].real(), tolerance) << n << " " << sign << " " << k;
                EXPECT_NEAR(x[2 * k + 1], expected[k].imag(), tolerance) << n << " " << sign << " " << k;
            }
        }
    }
}

TEST(FFTPlanTest, ForwardThenInverseGivesNTimesTheInput) {
    const int n = 4096;
    FFTPlan plan;
    ASSERT_TRUE(plan.prepare(n));
    const std::vector<float> x = randomSignal(n, 3u);
    std::vector<float> y = x;
    plan.transform(-1, y.data());
    plan.transform(1, y.data());
    for (std::size_t i = 0; i < x.size(); ++i) {
        ASSERT_NEAR(y[i], n * x[i], n * 1e-4) << i;
    }
}

TEST(FFTPlanTest, TabledTransformIsBitIdenticalToThePlainOne) {
    for (int n : {2, 4, 64, 4096}) {
        FFTPlan plan;
        ASSERT_TRUE(plan.prepare(n));
        for (int sign : {-1, 1}) {
            std::vector<float> tabled = randomSignal(n, 11u * static_cast<unsigned>(n));
            std::vector<float> plain = tabled;
            plan.transform(sign, tabled.data());
            plainFft(sign, plain.data(), n);
            ASSERT_EQ(std::memcmp(tabled.data(), plain.data(), tabled.size() * sizeof(float)), 0)
                << n << " " << sign;
        }
    }
}

TEST(FFTPlanTest, RefusesSizesThatAreNotPowersOfTwo) {
    FFTPlan plan;
    for (int n : {0, 1, 3, 12, -8}) {
        EXPECT_FALSE(plan.prepare(n)) << n;
        EXPECT_EQ(plan.size(), 0);
    }
    std::vector<float> x{1, 2, 3, 4};
    plan.transform(-1, x.data());
    EXPECT_EQ(x, (std::vector<float>{1, 2, 3, 4}));
    ASSERT_TRUE(plan.prepare(2));
    plan.transform(-1, x.data());
    EXPECT_EQ(x, (std::vector<float>{4, 6, -2, -2}));
    plan.transform(-1, nullptr);
}
