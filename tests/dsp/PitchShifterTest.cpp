#include "PitchShifter.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kFrame = 4096;
constexpr int kStep = 1024;

std::vector<float> slice(const std::vector<float>& x, int from, int count) {
    return {x.begin() + from, x.begin() + from + count};
}

TEST(PitchShifter, RatioOnePassesAudioUntouchedAndUndelayed) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> input(3 * kFrame);
    for (float& x : input) {
        x = uniform(random);
    }

    VELMORA::PitchShifter fresh;
    std::vector<float> samples = input;
    fresh.process(samples.data(), static_cast<int>(samples.size()));
    EXPECT_EQ(samples, input);

    VELMORA::PitchShifter returned;
    std::vector<float> scratch = input;
    returned.setShift(0.5f);
    returned.process(scratch.data(), static_cast<int>(scratch.size()));
    returned.setShift(1.0f);
    samples = input;
    returned.process(samples.data(), static_cast<int>(samples.size()));
    EXPECT_EQ(samples, input);
    EXPECT_EQ(returned.getShift(), 1.0f);
}

TEST(PitchShifter, RatioTwoMovesASineAnOctaveUpOnceTheRampHasSettled) {
    // 30 bins at 48000 Hz / 4096.
    const double f0 = 351.5625;
    std::vector<float> samples = probe::sine(f0, kRate, 40 * kStep, 0.5);
    VELMORA::PitchShifter shifter;
    shifter.setShift(2.0f);
    EXPECT_EQ(shifter.getShift(), 2.0f);
    shifter.process(samples.data(), static_cast<int>(samples.size()));

    // Nothing comes out before the first frame has run.
    for (int t = 0; t < kStep; ++t) {
        ASSERT_EQ(samples[static_cast<std::size_t>(t)], 0.0f) << t;
    }
    // Twelve frames of ramp, then the frame loop's delay, then steady state.
    const std::vector<float> steady = slice(samples, 24 * kStep, 4 * kFrame);
    EXPECT_NEAR(probe::peakFrequency(steady, kRate, 100.0, 2000.0), 2.0 * f0, 1.0);
    EXPECT_LT(probe::magnitudeAt(steady, f0, kRate), 0.01 * probe::magnitudeAt(steady, 2.0 * f0, kRate));
}

TEST(PitchShifter, FrameLoopDelaysByOneFrameLength) {
    // A frame-aligned burst comes out centred one frame length later.
    const int start = 8 * kStep, length = kFrame;
    std::vector<float> samples(static_cast<std::size_t>(24 * kStep), 0.0f);
    const std::vector<float> burst = probe::sine(1054.6875, kRate, length, 0.5);
    std::copy(burst.begin(), burst.end(), samples.begin() + start);
    VELMORA::PitchShifter shifter;
    shifter.setShift(1.00001f);  // close enough to 1.0 to be taken at once
    shifter.process(samples.data(), static_cast<int>(samples.size()));

    double weighted = 0.0, total = 0.0;
    for (std::size_t t = 0; t < samples.size(); ++t) {
        const double e = static_cast<double>(samples[t]) * samples[t];
        weighted += e * static_cast<double>(t);
        total += e;
    }
    ASSERT_GT(total, 0.0);
    EXPECT_NEAR(weighted / total, start + length / 2 + kFrame, 64.0);
}

TEST(PitchShifter, PhasesStayBoundedAndRecoverFromABadSample) {
    VELMORA::PitchShifter shifter;
    shifter.setShift(1.5f);
    std::vector<float> samples = probe::sine(2000.0, kRate, 20 * kStep, 0.5);
    samples[5000] = std::nanf("");
    shifter.process(samples.data(), static_cast<int>(samples.size()));
    std::vector<float> later = probe::sine(2000.0, kRate, 12 * kStep, 0.5);
    shifter.process(later.data(), static_cast<int>(later.size()));
    for (float x : slice(later, 8 * kStep, 4 * kStep)) {
        ASSERT_TRUE(std::isfinite(x));
    }
    EXPECT_GT(probe::energy(later, 8 * kStep, 12 * kStep), 1.0);
}

TEST(PitchShifter, FrequenciesAboveTheLimitAreSilenced) {
    // 15 kHz doubled lies above half the sample rate.
    std::vector<float> samples = probe::sine(15000.0, kRate, 40 * kStep, 0.5);
    VELMORA::PitchShifter shifter;
    shifter.setShift(2.0f);
    shifter.process(samples.data(), static_cast<int>(samples.size()));
    EXPECT_LT(probe::energy(samples, 24 * kStep, 40 * kStep), 1e-6);

    std::vector<float> low = probe::sine(15000.0, kRate, 40 * kStep, 0.5);
    VELMORA::PitchShifter lowRate(kFrame, 4, 32000.0f);
    lowRate.setSamplerate(48000.0f);
    lowRate.setShift(1.2f);  // 18 kHz: below 24 kHz, above the old limit of 16 kHz
    lowRate.process(low.data(), static_cast<int>(low.size()));
    EXPECT_GT(probe::energy(low, 24 * kStep, 40 * kStep), 100.0);
}

} // namespace
