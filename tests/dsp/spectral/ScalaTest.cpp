#include "Itoa.h"
#include "Names.h"
#include "Scala.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace {

using Floats = std::vector<float>;

// The tone whose band (lower, upper] holds f, found by a plain search.
int bandOf(Scala& scala, float f) {
    for (int t = 0; t < Scala::kTones; ++t) {
        if (f > scala.tones[t].lowerfreq && f <= scala.tones[t].upperfreq) {
            return t;
        }
    }
    return f > scala.tones[139].upperfreq ? 139 : -1;
}

std::vector<int32_t> walk(Scala& scala, Floats freqs, Floats mags) {
    Floats phases(freqs.size(), 0.5f);
    std::vector<int32_t> toneOfBin(freqs.size(), -1);
    scala.reserve(static_cast<int32_t>(freqs.size()));
    scala.assignBins(mags.data(), freqs.data(), phases.data(), static_cast<int32_t>(freqs.size()),
                     toneOfBin.data());
    return toneOfBin;
}

// One summing pass in which note n receives magnitude perNote[n].
void pass(Scala& scala, const Floats& perNote) {
    Floats freqs;
    for (std::size_t n = 0; n < perNote.size(); ++n) {
        freqs.push_back(scala.getFrequency(static_cast<int>(n)));
    }
    walk(scala, freqs, perNote);
    scala.chromaticScaleSums(0, 128);
}

Floats read(Scala& scala, int from, int to, bool normalise) {
    const float* sums = scala.getChromatic(from, to, normalise);
    return Floats(sums, sums + Scala::kTones);
}

Floats withNotes(std::initializer_list<std::pair<int, float>> values) {
    Floats perNote(128, 0.0f);
    for (auto [note, value] : values) {
        perNote[static_cast<std::size_t>(note)] = value;
    }
    return perNote;
}

} // namespace

TEST(ScalaTest, TonesAreEqualTemperedAroundA440WithSharedEdges) {
    Scala scala;
    EXPECT_EQ(scala.getFrequency(69), 440.0f);
    EXPECT_EQ(scala.getFrequency(-3), 6.875f);
    EXPECT_EQ(scala.getFrequency(137), 1.0f);
    EXPECT_EQ(scala.tones[0].lowerfreq, 0.0f);
    for (int t = 0; t < Scala::kTones; ++t) {
        const Tone& tone = scala.tones[t];
        EXPECT_EQ(tone.note, t - 3);
        EXPECT_FLOAT_EQ(tone.centerfreq, static_cast<float>(6.875 * std::pow(2.0, t / 12.0))) << t;
        EXPECT_FLOAT_EQ(tone.upperfreq, static_cast<float>(6.875 * std::pow(2.0, (2 * t + 1) / 24.0))) << t;
        if (t > 0) {
            EXPECT_EQ(tone.lowerfreq, scala.tones[t - 1].upperfreq) << t;
        }
    }
}

TEST(ScalaTest, TonesCarryNamesOctavesGroupsAndColours) {
    Scala scala;
    const Tone& c4 = scala.tones[63];
    EXPECT_STREQ(c4.name, "C 4");
    EXPECT_EQ(std::tuple(c4.octave, c4.group, c4.white), std::tuple(4, 1, 1));
    EXPECT_STREQ(scala.tones[64].name, "C#4");
    EXPECT_EQ(scala.tones[64].white, 0);
    EXPECT_STREQ(scala.tones[3].name, "C -1");
    const Tone& lowest = scala.tones[0];
    EXPECT_STREQ(lowest.name, "-");
    EXPECT_EQ(std::tuple(lowest.octave, lowest.group, lowest.white), std::tuple(-2, 10, -1));
    Names names;
    EXPECT_STREQ(names.getName(127, std::numeric_limits<int>::min()), "G -2147483648");
    char buf[4];
    EXPECT_STREQ(itoa(1234, buf, sizeof buf), " ");
}

TEST(ScalaWalkTest, RisingBinsLandInTheToneWhoseBandHoldsThem) {
    Scala scala;
    Floats freqs;
    Floats mags;
    for (int k = 0; k <= 2048; ++k) {
        freqs.push_back(k * 11.71875f);
        mags.push_back(static_cast<float>(k % 7));
    }
    const std::vector<int32_t> tones = walk(scala, freqs, mags);
    Floats expectedSums(Scala::kTones, 0.0f);
    expectedSums[0] = mags[0];
    EXPECT_EQ(tones[0], 0);  // 0 Hz sits on tone 0's open lower edge
    for (std::size_t k = 1; k < freqs.size(); ++k) {
        ASSERT_EQ(tones[k], bandOf(scala, freqs[k])) << k;
        expectedSums[static_cast<std::size_t>(tones[k])] += mags[k];
    }
    for (int t = 0; t < Scala::kTones; ++t) {
        EXPECT_EQ(scala.tones[t].getSum(), expectedSums[static_cast<std::size_t>(t)]) << t;
    }
    auto* record = static_cast<BinRecord*>(scala.tones[72].bins.First());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(bandOf(scala, record->frequency), 72);
    EXPECT_EQ(record->phase, 0.5f);
}

TEST(ScalaWalkTest, TheWalkNeverMovesBackAndEachWalkReplacesTheLast) {
    Scala scala;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // negative and 0 Hz at the start, a bin below the walk's position, NaN, beyond the top
    EXPECT_EQ(walk(scala, {-5.0f, 0.0f, 440.0f, 100.0f, nan, 30000.0f, 50.0f}, Floats(7, 1.0f)),
              (std::vector<int32_t>{0, 0, 72, 72, 139, 139, 138}));
    EXPECT_EQ(scala.tones[72].bins.Count(), 2);
    walk(scala, {440.0f}, {3.0f});
    EXPECT_EQ(scala.tones[72].getSum(), 3.0f);
    EXPECT_EQ(scala.tones[139].bins.Count(), 0);
    Floats f{1000.0f};
    scala.assignBins(f.data(), f.data(), nullptr, 1, nullptr);  // a missing buffer: no change
    EXPECT_EQ(scala.tones[72].getSum(), 3.0f);
}

TEST(ScalaReadTest, PassesBeforeTheFirstReadAreAveraged) {
    Scala scala;
    EXPECT_EQ(read(scala, 0, 128, true), Floats(140, 0.0f));
    pass(scala, withNotes({{60, 2.0f}, {61, 2e-38f}}));
    pass(scala, withNotes({{60, 4.0f}}));
    const Floats sums = read(scala, 0, 128, false);
    EXPECT_EQ(sums[60], 3.0f);
    EXPECT_EQ(sums[61], 0.0f);  // the average, 1e-38, would be subnormal
}

TEST(ScalaReadTest, AfterTheFirstReadAReadGivesTheLatestPassNormalised) {
    Scala scala;
    pass(scala, withNotes({{10, 8.0f}, {20, 2.0f}, {100, 8.0f}}));
    Floats sums = read(scala, 0, 64, true);
    EXPECT_EQ(sums[10], 1.0f);
    EXPECT_EQ(sums[20], 0.25f);
    EXPECT_EQ(sums[100], 8.0f);  // outside the range: the raw sum
    pass(scala, withNotes({{10, 0.5f}, {127, 0.25f}}));
    pass(scala, withNotes({{10, 0.5f}, {127, 0.25f}}));
    sums = read(scala, -5, 500, true);  // largest below 1: not normalised
    EXPECT_EQ(sums[10], 0.5f);
    EXPECT_EQ(sums[20], 0.0f);
    EXPECT_EQ(sums[127], 0.25f);  // note 127 is summed
    EXPECT_EQ(read(scala, 0, 140, true), sums);  // a repeated read gives the same
}
