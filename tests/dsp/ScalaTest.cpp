#include "Itoa.h"
#include "Names.h"
#include "Scala.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

double closedFormCentre(int tone) {
    return 6.875 * std::pow(2.0, tone / 12.0);
}

// The tone whose band (lower, upper] holds f, found by a plain search.
int bandOf(Scala& scala, float f) {
    for (int t = 0; t < Scala::kTones; ++t) {
        if (f > scala.tones[t].lowerfreq && f <= scala.tones[t].upperfreq) {
            return t;
        }
    }
    return -1;
}

// Runs one walk over the given bins with magnitude = given values.
struct Walk {
    explicit Walk(Scala& scala, std::vector<float> freqs, std::vector<float> mags)
        : frequencies(std::move(freqs)), magnitudes(std::move(mags)),
          phases(frequencies.size(), 0.5f), toneOfBin(frequencies.size(), -1) {
        scala.reserve(static_cast<int32_t>(frequencies.size()));
        scala.assignBins(magnitudes.data(), frequencies.data(), phases.data(),
                         static_cast<int32_t>(frequencies.size()), toneOfBin.data());
    }
    std::vector<float> frequencies;
    std::vector<float> magnitudes;
    std::vector<float> phases;
    std::vector<int32_t> toneOfBin;
};

// One summing pass in which note n receives magnitude values[n].
void pass(Scala& scala, const std::vector<float>& perNote) {
    std::vector<float> freqs;
    std::vector<float> mags;
    for (std::size_t n = 0; n < perNote.size(); ++n) {
        freqs.push_back(scala.getFrequency(static_cast<int>(n)));
        mags.push_back(perNote[n]);
    }
    Walk walk(scala, freqs, mags);
    scala.chromaticScaleSums(0, 128);
}

std::vector<float> notes(float* sums, int count = 140) {
    return std::vector<float>(sums, sums + count);
}

} // namespace

TEST(ScalaTest, TonesAreEqualTemperedAroundA440WithSharedEdges) {
    Scala scala;
    EXPECT_EQ(scala.tones[72].centerfreq, 440.0f);
    EXPECT_EQ(scala.getFrequency(69), 440.0f);
    EXPECT_EQ(scala.getFrequency(-3), 6.875f);
    EXPECT_EQ(scala.getFrequency(137), 1.0f);
    EXPECT_EQ(scala.getFrequency(-4), 1.0f);
    EXPECT_EQ(scala.tones[0].lowerfreq, 0.0f);
    for (int t = 0; t < Scala::kTones; ++t) {
        const Tone& tone = scala.tones[t];
        EXPECT_EQ(tone.index, t);
        EXPECT_EQ(tone.note, t - 3);
        EXPECT_FLOAT_EQ(tone.centerfreq, static_cast<float>(closedFormCentre(t))) << t;
        EXPECT_FLOAT_EQ(tone.upperfreq, static_cast<float>(6.875 * std::pow(2.0, (2 * t + 1) / 24.0))) << t;
        if (t > 0) {
            EXPECT_EQ(tone.lowerfreq, scala.tones[t - 1].upperfreq) << t;
        }
        EXPECT_LT(tone.lowerfreq, tone.centerfreq);
        EXPECT_LT(tone.centerfreq, tone.upperfreq);
    }
}

TEST(ScalaTest, TonesCarryNamesOctavesGroupsAndColours) {
    Scala scala;
    const Tone& c4 = scala.tones[63];
    EXPECT_STREQ(c4.name, "C 4");
    EXPECT_EQ(c4.octave, 4);
    EXPECT_EQ(c4.group, 1);
    EXPECT_EQ(c4.white, 1);
    EXPECT_STREQ(scala.tones[64].name, "C#4");
    EXPECT_EQ(scala.tones[64].white, 0);
    EXPECT_STREQ(scala.tones[3].name, "C -1");
    EXPECT_EQ(scala.tones[3].octave, -1);
    EXPECT_STREQ(scala.tones[130].name, "G 9");
    EXPECT_EQ(scala.tones[74].group, 12);

    const Tone& below = scala.tones[0];
    EXPECT_STREQ(below.name, "-");
    EXPECT_EQ(below.octave, -2);
    EXPECT_EQ(below.group, 10);
    EXPECT_EQ(below.white, -1);
    EXPECT_STREQ(scala.tones[131].name, "-");
    for (int t = 3; t <= 130; ++t) {
        const std::size_t length = std::strlen(scala.tones[t].name);
        EXPECT_TRUE(length == 3 || length == 4) << t;
        EXPECT_EQ(scala.tones[t].octave, (t - 3) / 12 - 1) << t;
    }
}

TEST(NamesTest, NamesWhiteKeysAndNumbers) {
    Names names;
    EXPECT_STREQ(names.getName(60, 4), "C 4");
    EXPECT_STREQ(names.getName(61, 4), "C#4");
    EXPECT_STREQ(names.getName(0, -1), "C -1");
    EXPECT_STREQ(names.getName(127, std::numeric_limits<int>::min()), "G -2147483648");
    EXPECT_STREQ(names.getName(-1, 0), "-");
    EXPECT_STREQ(names.getName(128, 0), "-");
    EXPECT_EQ(Names::getWhite(61), 0);
    EXPECT_EQ(Names::getWhite(64), 1);
    EXPECT_EQ(Names::getWhite(200), -1);
    EXPECT_EQ(Names::getWhite(-1), -1);

    char buf[4];
    EXPECT_STREQ(itoa(-12, buf, sizeof buf), "-12");
    EXPECT_STREQ(itoa(1234, buf, sizeof buf), " ");
    EXPECT_STREQ(itoa(5, buf, 0), " ");
    EXPECT_STREQ(itoa(987654, nullptr, 0), "987654");
}

TEST(ScalaWalkTest, RisingBinsLandInTheToneWhoseBandHoldsThem) {
    Scala scala;
    std::vector<float> freqs;
    std::vector<float> mags;
    for (int k = 0; k <= 2048; ++k) {
        freqs.push_back(k * 11.71875f);
        mags.push_back(static_cast<float>(k % 7));
    }
    Walk walk(scala, freqs, mags);
    std::vector<float> expectedSums(Scala::kTones, 0.0f);
    for (std::size_t k = 1; k < freqs.size(); ++k) {
        const int band = freqs[k] > scala.tones[139].upperfreq ? 139 : bandOf(scala, freqs[k]);
        ASSERT_EQ(walk.toneOfBin[k], band) << k;
        expectedSums[static_cast<std::size_t>(band)] += mags[k];
    }
    EXPECT_EQ(walk.toneOfBin[0], 0);  // 0 Hz sits on tone 0's open lower edge
    expectedSums[0] += mags[0];
    int records = 0;
    for (int t = 0; t < Scala::kTones; ++t) {
        EXPECT_EQ(scala.tones[t].getSum(), expectedSums[static_cast<std::size_t>(t)]) << t;
        records += scala.tones[t].bins.Count();
    }
    EXPECT_EQ(records, 2049);
    auto* first = static_cast<BinRecord*>(scala.tones[72].bins.First());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(bandOf(scala, first->frequency), 72);
    EXPECT_EQ(first->phase, 0.5f);
}

TEST(ScalaWalkTest, TheWalkNeverMovesBack) {
    Scala scala;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // negative at the start, a bin below the walk's position, NaN, beyond the top
    Walk walk(scala, {-5.0f, 0.0f, 440.0f, 100.0f, nan, 30000.0f, 50.0f}, {1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(walk.toneOfBin, (std::vector<int32_t>{0, 0, 72, 72, 139, 139, 138}));
    EXPECT_EQ(scala.tones[72].bins.Count(), 2);

    // A second walk replaces the first one's records.
    Walk again(scala, {440.0f}, {3});
    EXPECT_EQ(scala.tones[72].getSum(), 3.0f);
    EXPECT_EQ(scala.tones[139].bins.Count(), 0);
}

TEST(ScalaWalkTest, MissingBuffersChangeNothing) {
    Scala scala;
    Walk walk(scala, {440.0f}, {2});
    std::vector<float> f{1000.0f};
    scala.assignBins(nullptr, f.data(), f.data(), 1, nullptr);
    scala.assignBins(f.data(), nullptr, f.data(), 1, nullptr);
    scala.assignBins(f.data(), f.data(), nullptr, 1, nullptr);
    EXPECT_EQ(scala.tones[72].getSum(), 2.0f);
}

TEST(ScalaWalkTest, BinsBeyondTheReservedRecordsAreSortedButNotKept) {
    Scala scala;
    std::vector<float> freqs{440.0f, 441.0f, 442.0f};
    std::vector<float> mags{1.0f, 2.0f, 4.0f};
    std::vector<float> phases(3, 0.0f);
    std::vector<int32_t> tones(3, -1);
    ASSERT_TRUE(scala.reserve(2));
    scala.assignBins(mags.data(), freqs.data(), phases.data(), 3, tones.data());
    EXPECT_EQ(tones, (std::vector<int32_t>{72, 72, 72}));
    EXPECT_EQ(scala.tones[72].getSum(), 3.0f);
}

TEST(ScalaReadTest, AReadBeforeAnyPassGivesZerosAndKeepsAccumulating) {
    Scala scala;
    EXPECT_EQ(notes(scala.getChromatic(0, 128, true)), std::vector<float>(140, 0.0f));
    std::vector<float> perNote(128, 0.0f);
    perNote[60] = 2.0f;
    pass(scala, perNote);
    perNote[60] = 4.0f;
    pass(scala, perNote);
    // Both passes count: the first read averages them.
    EXPECT_EQ(scala.getChromatic(0, 128, false)[60], 3.0f);
}

TEST(ScalaReadTest, AfterTheFirstReadEachPassReplacesTheSums) {
    Scala scala;
    std::vector<float> perNote(128, 0.0f);
    perNote[10] = 8.0f;
    perNote[20] = 2.0f;
    pass(scala, perNote);
    pass(scala, perNote);
    float* sums = scala.getChromatic(0, 128, true);
    EXPECT_EQ(sums[10], 1.0f);
    EXPECT_EQ(sums[20], 0.25f);

    perNote[10] = 0.5f;
    perNote[20] = 0.25f;
    pass(scala, perNote);
    pass(scala, perNote);
    sums = scala.getChromatic(0, 128, true);  // largest below 1: no normalisation
    EXPECT_EQ(sums[10], 0.5f);
    EXPECT_EQ(sums[20], 0.25f);
    // Reading again without a new pass gives the same values.
    EXPECT_EQ(notes(scala.getChromatic(0, 128, true)), notes(sums));
}

TEST(ScalaReadTest, NoteOneTwentySevenIsSummedAndTheTonesAboveAreNot) {
    Scala scala;
    std::vector<float> perNote(128, 0.0f);
    perNote[127] = 0.75f;
    pass(scala, perNote);
    float* sums = scala.getChromatic(0, 140, true);
    EXPECT_EQ(sums[127], 0.75f);
    for (int n = 128; n < 140; ++n) {
        EXPECT_EQ(sums[n], 0.0f) << n;
    }
}

TEST(ScalaReadTest, TinyAveragesFlushToZeroAndOutOfRangeEntriesStayRaw) {
    Scala scala;
    std::vector<float> perNote(128, 0.0f);
    perNote[5] = 2e-38f;
    perNote[6] = 6.0f;
    perNote[100] = 6.0f;
    pass(scala, perNote);
    perNote[5] = 0.0f;
    pass(scala, perNote);
    float* sums = scala.getChromatic(0, 64, false);
    EXPECT_EQ(sums[5], 0.0f);  // the average, 1e-38, would be subnormal
    EXPECT_EQ(sums[6], 6.0f);
    EXPECT_EQ(sums[100], 12.0f);
    // Out-of-range bounds are clipped to the table.
    EXPECT_EQ(notes(scala.getChromatic(-5, 500, false))[100], 6.0f);
}
