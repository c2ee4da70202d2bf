#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "ChromaticPitch.h"
#include "SignalProbe.h"

using probe::level;
using probe::noise;
using probe::sine;

namespace {

constexpr int kSize = 4096;
constexpr int kDelay = 4096;     // the engine's in-place delay at overlap 4
constexpr float kOverlapGain = 1.5f; // its constant overlap-add gain
constexpr double kRate = 48000.0;

// Opens the per-tone tables and the synthesis state to the tests.
class Processor : public VELMORA::ChromaticPitch {
public:
    Processor()
        : ChromaticPitch(kSize, 4, static_cast<float>(kRate))
    {
    }
    using ChromaticPitch::chromaticFilters;
    using ChromaticPitch::chromaticPitches;
    using ChromaticPitch::phases2;

    void setAllBands(float value)
    {
        std::array<float, 128> bands;
        bands.fill(value);
        setChromaticFilterBands(bands.data(), 1.0f);
    }

    std::vector<float> run(std::vector<float> samples)
    {
        for (std::size_t at = 0; at < samples.size(); at += 512)
            process(samples.data() + at, static_cast<int>(std::min<std::size_t>(512, samples.size() - at)));
        return samples;
    }
};

} // namespace

TEST(ChromaticFilterTest, BandValuesMapToToneValuesAndFillTonesByNote)
{
    for (auto [band, tone] : {std::pair{0.0f, 0.0f}, {0.25f, 0.5f}, {0.5f, 1.0f}, {0.75f, 2.25f}, {1.0f, 4.0f}})
        EXPECT_EQ(VELMORA::ChromaticFilter::toneValue(band), tone) << band;

    auto table = std::make_unique<Processor>();
    auto single = std::make_unique<Processor>();
    std::array<float, 128> bands;
    for (int n = 0; n < 128; ++n) {
        bands[n] = static_cast<float>(n) / 127.0f;
        single->setChromaticFilterBand(n, bands[n]);
    }
    table->setChromaticFilterBands(bands.data(), 1.0f);
    single->setChromaticFilterBand(128, 1.0f);
    single->setOutsideRange(1.0f);
    for (int tone = 0; tone < 140; ++tone)
        EXPECT_EQ(table->chromaticFilters[tone], single->chromaticFilters[tone]) << tone;
    EXPECT_EQ(table->chromaticFilters[3 + 127], 4.0f);
}

TEST(ChromaticFilterTest, RangeZeroesOutsideOrInsideAndSetsTheOuterTones)
{
    auto processor = std::make_unique<Processor>();
    processor->setAllBands(0.5f);
    processor->setChromaticFilterRange(60, 72, 1.0f);
    for (int note = 0; note < 128; ++note)
        EXPECT_EQ(processor->chromaticFilters[note + 3], note >= 60 && note <= 72 ? 1.0f : 0.0f) << note;
    for (int tone : {0, 1, 2, 131, 139}) {
        EXPECT_EQ(processor->chromaticFilters[tone], 1.0f);
        EXPECT_EQ(processor->chromaticPitches[tone], 1.0f);
    }

    processor->setAllBands(0.5f);
    processor->setInverted(true);
    processor->setChromaticFilterRange(60, 72, 1.0f);
    for (int note = 0; note < 128; ++note)
        EXPECT_EQ(processor->chromaticFilters[note + 3], note >= 60 && note <= 72 ? 0.0f : 1.0f) << note;
    EXPECT_EQ(processor->chromaticPitches[63], 0.0f);
}

// The second filter at neutral bands, and any mode outside the four whatever the
// bands, leave the spectrum alone: the output is the engine's identity.
TEST(ChromaticPitchTest, NeutralSecondFilterAndUnknownModesAreTheEngineIdentity)
{
    struct Case {
        int mode;
        float band;
    };
    for (const Case& c : {Case{VELMORA::ChromaticPitch::filterMode, 0.5f}, Case{4, 0.0f}, Case{-1, 0.0f}}) {
        auto processor = std::make_unique<Processor>();
        processor->setAllBands(c.band);
        processor->setMode(c.mode);
        const std::vector<float> in = noise(5 * kSize);
        const std::vector<float> out = processor->run(in);
        for (std::size_t t = 0; t < in.size() - kDelay; ++t)
            ASSERT_NEAR(out[t + kDelay], kOverlapGain * in[t], 5e-5f) << "mode " << c.mode << " at " << t;
    }
}

TEST(ChromaticPitchTest, SecondFilterBandAtZeroAttenuatesItsNoteByThirtyDecibels)
{
    auto processor = std::make_unique<Processor>();
    processor->setAllBands(0.5f);
    processor->setChromaticFilterBand(69, 0.0f);
    processor->setMode(VELMORA::ChromaticPitch::filterMode);
    std::vector<float> in = sine(440.0, kRate, 10 * kSize, 0.5);
    const std::vector<float> c5 = sine(523.25, kRate, in.size(), 0.5);
    for (std::size_t t = 0; t < in.size(); ++t)
        in[t] += c5[t];
    const std::vector<float> out = processor->run(in);

    const std::size_t begin = 4 * kSize;
    const double a4 = level(out, begin, 4 * kSize, kRate, 440.0) / kOverlapGain;
    const double c = level(out, begin, 4 * kSize, kRate, 523.25) / kOverlapGain;
    EXPECT_LT(20.0 * std::log10(a4 / 0.5), -30.0);
    EXPECT_NEAR(c, 0.5, 0.01) << "its neighbour passes";
}

TEST(ChromaticPitchTest, FirstFilterRebuildsOneSidedWithoutTheDCBin)
{
    auto processor = std::make_unique<Processor>();
    processor->setAllBands(0.5f);
    processor->setMode(VELMORA::ChromaticPitch::filter2Mode);
    std::vector<float> in = sine(1000.0, kRate, 10 * kSize, 0.5);
    for (float& s : in)
        s += 0.25f;
    const std::vector<float> out = processor->run(in);

    const std::size_t begin = 4 * kSize;
    EXPECT_NEAR(level(out, begin, 4 * kSize, kRate, 1000.0) / kOverlapGain, 0.5, 0.01);
    // Without bin 0 a Hann-windowed constant a comes back as a(w - 1/2) per
    // frame; overlap-added with the window that is (sum w^2 - sum w / 2) / sum w^2
    // = (1.5 - 1) / 1.5 of the identity's level.
    double mean = 0.0;
    for (std::size_t t = begin; t < begin + 4 * kSize; ++t)
        mean += out[t];
    EXPECT_NEAR(mean / (4 * kSize), kOverlapGain * 0.25 / 3.0, 0.002) << "the DC bin is dropped";
}

// Repairing only the accumulators left the bins of a tone in step with each
// other for good, and a shift 15-25 dB down until reset.
TEST(ChromaticPitchTest, AFrameHoldingANonFiniteSampleRestartsTheProcessorAsReset)
{
    constexpr std::size_t kStep = kSize / 4;
    // The bad block lies among the newest samples of the frame that ends at
    // the restart, so the restarted processor never sees it.
    constexpr std::size_t kBad = 40 * kStep + 256;
    constexpr std::size_t kRestart = 41 * kStep;
    std::vector<float> in = sine(3000.0, kRate, 80 * kStep, 0.5);
    for (std::size_t t = kBad; t < kBad + 512; ++t)
        in[t] = t % 2 ? std::numeric_limits<float>::quiet_NaN() : -std::numeric_limits<float>::infinity();
    const std::vector<float> clean(in.begin() + kRestart, in.end());
    for (const int mode : { 0, 1, 2, 3 }) {
        auto processor = std::make_unique<Processor>();
        auto fresh = std::make_unique<Processor>();
        for (Processor* p : { processor.get(), fresh.get() }) {
            p->setAllBands(0.75f);
            p->setMode(mode);
        }
        const std::vector<float> out = processor->run(in);
        EXPECT_EQ(std::vector<float>(out.begin() + kRestart, out.end()), fresh->run(clean)) << "mode " << mode;
    }
}

// Samples up to 2^40 are processed; a frame holding a larger one would
// overflow the transform, and restarts the processor as a non-finite one does.
TEST(ChromaticPitchTest, AFrameHoldingASampleBeyondTwoToTheFortyRestartsTheProcessorAsReset)
{
    constexpr std::size_t kStep = kSize / 4;
    constexpr std::size_t kBad = 40 * kStep + 256;
    constexpr std::size_t kRestart = 41 * kStep;
    constexpr float kTop = std::numeric_limits<float>::max();
    const float justBeyond = std::nextafter(0x1p40f, kTop);
    const std::vector<float> signal = sine(3000.0, kRate, 80 * kStep, 0.5);
    const std::vector<float> clean(signal.begin() + kRestart, signal.end());
    for (const auto& [first, second] : {std::pair{kTop, kTop}, {-kTop, -kTop}, {kTop, -kTop}, {justBeyond, 0.5f}}) {
        std::vector<float> in = signal;
        for (std::size_t t = kBad; t < kBad + 512; ++t)
            in[t] = t % 2 ? first : second;
        for (const int mode : {0, 1, 2, 3}) {
            auto processor = std::make_unique<Processor>();
            auto fresh = std::make_unique<Processor>();
            for (Processor* p : {processor.get(), fresh.get()}) {
                p->setAllBands(0.75f);
                p->setMode(mode);
            }
            const std::vector<float> out = processor->run(in);
            EXPECT_EQ(std::vector<float>(out.begin() + kRestart, out.end()), fresh->run(clean))
                << "mode " << mode << ", samples " << first << " " << second;
        }
    }
}

// A power-of-two scale is exact in every step of a frame as long as nothing
// overflows, so a signal raised to 2^40 comes out raised by the same factor.
TEST(ChromaticPitchTest, SamplesUpToTwoToTheFortyAreProcessedExactlyAsSmallerOnes)
{
    constexpr float kScale = 0x1p30f;
    std::vector<float> small = sine(3000.0, kRate, 24 * 1024, 1024.0);
    for (std::size_t t = 6000; t < 9000; ++t)
        small[t] = 1024.0f; // a step at the limit: the largest sums a transform can meet
    std::vector<float> large(small.size());
    std::transform(small.begin(), small.end(), large.begin(), [&](float x) { return x * kScale; });
    for (const int mode : {0, 1, 2, 3}) {
        auto reference = std::make_unique<Processor>();
        auto loud = std::make_unique<Processor>();
        for (Processor* p : {reference.get(), loud.get()}) {
            p->setAllBands(1.0f);
            p->setMode(mode);
        }
        std::vector<float> expected = reference->run(small);
        std::transform(expected.begin(), expected.end(), expected.begin(), [&](float x) { return x * kScale; });
        const std::vector<float> out = loud->run(large);
        EXPECT_EQ(out, expected) << "mode " << mode;
        EXPECT_GT(*std::max_element(out.begin(), out.end()), 0x1p39f) << "mode " << mode;
    }
}

TEST(ChromaticPitchTest, ResetProcessorRunsExactlyLikeANewOne)
{
    auto used = std::make_unique<Processor>();
    auto fresh = std::make_unique<Processor>();
    for (Processor* p : {used.get(), fresh.get()}) {
        p->setAllBands(0.75f);
        p->setMode(VELMORA::ChromaticPitch::shiftPitchesMode);
    }
    std::vector<float> first = sine(700.0, kRate, 20 * 1024);
    first[3000] = std::numeric_limits<float>::infinity();
    used->run(first);
    used->reset();

    const std::vector<float> in = noise(12 * 1024);
    EXPECT_EQ(used->run(in), fresh->run(in));
}

// Without display values the analysis still finds every bin's tone, so the
// processing is the same to the bit; only the display values stay empty.
TEST(ChromaticPitchTest, DisplayValuesOffChangesNothingButThem)
{
    auto summing = std::make_unique<Processor>();
    auto plain = std::make_unique<Processor>();
    plain->setDisplayValues(false);
    for (Processor* p : {summing.get(), plain.get()}) {
        p->setAllBands(0.7f);
        p->setMode(VELMORA::ChromaticPitch::shiftPitchesMode);
    }
    const std::vector<float> in = sine(440.0, kRate, 12 * 1024, 0.5);
    EXPECT_EQ(plain->run(in), summing->run(in));
    EXPECT_GT(summing->scala.getChromatic(0, 128, false)[69], 0.0f);
    EXPECT_EQ(plain->scala.getChromatic(0, 128, false)[69], 0.0f);
    EXPECT_EQ(plain->scala.tones[72].bins.Count(), 0);
    EXPECT_GT(summing->getMagnitudesPeaks(37), 0.0f);  // 440 Hz lies in bin 37.5
    EXPECT_EQ(plain->getMagnitudesPeaks(37), 0.0f);
}
