#include "PitchShifter.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kFrame = 4096;
constexpr int kStep = 1024;

std::vector<float> shifted(VELMORA::PitchShifter& shifter, std::vector<float> samples) {
    shifter.process(samples.data(), static_cast<int>(samples.size()));
    return samples;
}

TEST(PitchShifter, RatioOnePassesAudioUntouchedAndUndelayedAlsoAfterAnotherRatio) {
    const std::vector<float> input = probe::noise(3 * kFrame, 7, 1.0f);
    VELMORA::PitchShifter fresh;
    EXPECT_EQ(shifted(fresh, input), input);

    VELMORA::PitchShifter returned;
    returned.setShift(0.5f);
    shifted(returned, input);
    returned.setShift(1.0f);
    EXPECT_EQ(shifted(returned, input), input);
}

TEST(PitchShifter, RatioTwoMovesASineAnOctaveUpOnceTheRampHasSettled) {
    const double f0 = 351.5625;  // 30 bins at 48000 Hz / 4096
    VELMORA::PitchShifter shifter;
    shifter.setShift(2.0f);
    const std::vector<float> out = shifted(shifter, probe::sine(f0, kRate, 40 * kStep, 0.5));
    for (int t = 0; t < kStep; ++t) {
        ASSERT_EQ(out[static_cast<std::size_t>(t)], 0.0f) << "nothing before the first frame, at " << t;
    }
    // Twelve frames of ramp, then the frame loop's delay, then steady state.
    const std::vector<float> steady = probe::stretch(out, 24 * kStep, 4 * kFrame);
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
    samples = shifted(shifter, samples);

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
    shifted(shifter, samples);
    const std::vector<float> later = shifted(shifter, probe::sine(2000.0, kRate, 12 * kStep, 0.5));
    for (std::size_t t = 8 * kStep; t < later.size(); ++t) {
        ASSERT_TRUE(std::isfinite(later[t])) << t;
    }
    EXPECT_GT(probe::energy(later, 8 * kStep, 12 * kStep), 1.0);
}

TEST(PitchShifter, FrequenciesAboveTheLimitAreSilenced) {
    // 15 kHz doubled lies above half the sample rate.
    VELMORA::PitchShifter shifter;
    shifter.setShift(2.0f);
    EXPECT_LT(probe::energy(shifted(shifter, probe::sine(15000.0, kRate, 40 * kStep, 0.5)), 24 * kStep, 40 * kStep),
              1e-6);

    VELMORA::PitchShifter lowRate(kFrame, 4, 32000.0f);
    lowRate.setSamplerate(48000.0f);
    lowRate.setShift(1.2f);  // 18 kHz: below 24 kHz, above the old limit of 16 kHz
    EXPECT_GT(probe::energy(shifted(lowRate, probe::sine(15000.0, kRate, 40 * kStep, 0.5)), 24 * kStep, 40 * kStep),
              100.0);
}

} // namespace
