#include "SuperVelmora.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kFrame = 4096;
constexpr int kStep = 1024;

// Records each band's scale and, for one band, its spectrum next to the frame's.
class BandRecorder : public VELMORA::SuperVelmora {
public:
    void complex2buffer2(float* spectrum, float scale) override {
        if (scales.size() == kKeptBand) {
            band.assign(spectrum, spectrum + 2 * (kFrame + 1));
            frame.assign(complex.getBuffer(), complex.getBuffer() + 2 * (kFrame + 1));
        }
        scales.push_back(scale);
        SuperVelmora::complex2buffer2(spectrum, scale);
    }
    static constexpr std::size_t kKeptBand = 100;
    std::vector<float> scales, band, frame;
};

TEST(SuperVelmora, BandsRunFromEightyEightHundredHzDownToOneHundredTenAsGaussiansInEqualRatios) {
    BandRecorder bank;
    std::vector<float> samples = probe::sine(440.0, kRate, kStep, 0.5);
    bank.process(samples.data(), kStep);

    const double hi = kRate / 110.0, lo = kRate / 880.0;
    ASSERT_EQ(bank.scales.size(), static_cast<std::size_t>(std::floor(hi - lo)) + 1);
    EXPECT_FLOAT_EQ(bank.scales.front(), static_cast<float>(lo));
    EXPECT_LE(bank.scales.back(), hi);
    EXPECT_NEAR(bank.scales[200] / bank.scales[199], std::pow(hi / lo, 1.0 / (hi - lo)), 1e-6);

    const double s = bank.scales[BandRecorder::kKeptBand];
    const int first = static_cast<int>(std::floor(0.9 * kFrame / s));
    const int end = static_cast<int>(std::floor(1.1 * kFrame / s));
    for (int k = 0; k <= kFrame; ++k) {
        ASSERT_EQ(bank.band[2 * k + 1], 0.0f) << k;
        const bool inside = k >= first && k < end;
        if (!inside) {
            ASSERT_EQ(bank.band[2 * k], 0.0f) << k;
            continue;
        }
        const double f = s / kFrame;
        const double d = 2.0 * M_PI * 10.0 * (k * f - 1.0);
        const double weight = std::sqrt(10.0 * f) * 1.8827925275534296 * std::exp(-0.5 * d * d);
        EXPECT_NEAR(bank.band[2 * k], weight * bank.frame[2 * k], 1e-4 * std::fabs(bank.frame[2 * k]) + 1e-6) << k;
    }
}

TEST(SuperVelmora, PassesTheBankRangeAndDropsWhatLiesOutside) {
    auto run = [](double frequency) {
        VELMORA::SuperVelmora bank;
        std::vector<float> samples = probe::sine(frequency, kRate, 10 * kStep, 0.5);
        bank.process(samples.data(), static_cast<int>(samples.size()));
        return probe::energy(samples, 6 * kStep, 10 * kStep);
    };
    const double inside = run(440.0);
    const double outside = run(5000.0);
    EXPECT_GT(inside, 1.0);
    EXPECT_LT(outside, 1e-6 * inside);
}

TEST(SuperVelmora, ClearForgetsEverything) {
    VELMORA::SuperVelmora bank;
    std::vector<float> samples = probe::sine(440.0, kRate, 6 * kStep, 0.5);
    bank.process(samples.data(), static_cast<int>(samples.size()));
    bank.reset();
    std::vector<float> silence(static_cast<std::size_t>(3 * kStep), 0.0f);
    bank.process(silence.data(), static_cast<int>(silence.size()));
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](float x) { return x == 0.0f; }));
    bank.process(nullptr, kStep);
}

} // namespace
