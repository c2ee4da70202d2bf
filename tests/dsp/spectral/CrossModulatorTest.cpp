#include "CrossModulator.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kStep = 1024;
constexpr int kLength = 24 * kStep;

// Runs a 440 Hz carrier against a 440 Hz modulated signal; returns the processed signal.
std::vector<float> modulate(VELMORA::CrossModulator& modulator) {
    std::vector<float> carrier = probe::sine(440.0, kRate, kLength, 0.5);
    std::vector<float> modulated = carrier;
    modulator.process(carrier.data(), modulated.data(), kLength);
    return modulated;
}

double lateEnergy(const std::vector<float>& x) {
    return probe::energy(x, kLength - 8 * kStep, kLength);
}

TEST(CrossModulator, OutputScalesWithTheAmountAndAmountZeroIsSilence) {
    VELMORA::CrossModulator once, twice, none;
    twice.setAmount(2.0f);
    none.setAmount(0.0f);
    const std::vector<float> single = modulate(once);
    const std::vector<float> doubled = modulate(twice);
    ASSERT_GT(lateEnergy(single), 1.0);
    for (std::size_t t = 0; t < single.size(); ++t) {
        ASSERT_EQ(doubled[t], 2.0f * single[t]) << t;
    }
    EXPECT_EQ(modulate(none), std::vector<float>(kLength, 0.0f));
}

TEST(CrossModulator, BinsAreWeightedByTheSumOfTheirOwnNote) {
    // 440 Hz is MIDI note 69 (tone 72).
    VELMORA::CrossModulator own, threeAbove;
    own.setRange(69, 70);
    threeAbove.setRange(72, 73);
    const double kept = lateEnergy(modulate(own));
    EXPECT_GT(kept, 1.0);
    EXPECT_LT(lateEnergy(modulate(threeAbove)), 1e-9 * kept);
}

TEST(CrossModulator, WithoutACarrierNothingChanges) {
    VELMORA::CrossModulator modulator;
    const std::vector<float> before = probe::sine(440.0, kRate, kLength, 0.5);
    std::vector<float> samples = before;
    modulator.process(samples.data(), kLength);
    modulator.process(nullptr, samples.data(), kLength);
    EXPECT_EQ(samples, before);
}

} // namespace
