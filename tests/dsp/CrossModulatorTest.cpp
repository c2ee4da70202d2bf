#include "CrossModulator.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kStep = 1024;
constexpr int kLength = 24 * kStep;

// Runs a 440 Hz carrier against a modulated signal; returns the processed signal.
std::vector<float> modulate(VELMORA::CrossModulator& modulator, double modulatedFrequency) {
    std::vector<float> carrier = probe::sine(440.0, kRate, kLength, 0.5);
    std::vector<float> modulated = probe::sine(modulatedFrequency, kRate, kLength, 0.5);
    modulator.process(carrier.data(), modulated.data(), kLength);
    return modulated;
}

double lateEnergy(const std::vector<float>& x) {
    return probe::energy(x, kLength - 8 * kStep, kLength);
}

TEST(CrossModulator, AmountZeroSilencesTheModulatedSignal) {
    VELMORA::CrossModulator modulator;
    modulator.setAmount(0.0f);
    EXPECT_EQ(modulator.getAmount(), 0.0f);
    for (float x : modulate(modulator, 440.0)) {
        ASSERT_EQ(x, 0.0f);
    }
}

TEST(CrossModulator, OutputScalesWithTheAmount) {
    VELMORA::CrossModulator once, twice;
    twice.setAmount(2.0f);
    const std::vector<float> single = modulate(once, 440.0);
    const std::vector<float> doubled = modulate(twice, 440.0);
    ASSERT_GT(lateEnergy(single), 1.0);
    for (std::size_t t = 0; t < single.size(); ++t) {
        ASSERT_EQ(doubled[t], 2.0f * single[t]) << t;
    }
}

TEST(CrossModulator, BinsAreWeightedByTheSumOfTheirOwnNote) {
    // 440 Hz is MIDI note 69 (tone 72).
    VELMORA::CrossModulator own, threeAbove;
    own.setRange(69, 70);
    threeAbove.setRange(72, 73);
    const double kept = lateEnergy(modulate(own, 440.0));
    const double dropped = lateEnergy(modulate(threeAbove, 440.0));
    EXPECT_GT(kept, 1.0);
    EXPECT_LT(dropped, 1e-9 * kept);
}

TEST(CrossModulator, TheOneSignalProcessDoesNothing) {
    VELMORA::CrossModulator modulator;
    std::vector<float> samples = probe::sine(440.0, kRate, kLength, 0.5);
    const std::vector<float> before = samples;
    modulator.process(samples.data(), kLength);
    EXPECT_EQ(samples, before);
    modulator.process(nullptr, samples.data(), kLength);
    EXPECT_EQ(samples, before);
}

} // namespace
