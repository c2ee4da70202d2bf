#include "FFTBase.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

using probe::sine;

namespace {

// The in-place processor shape: analyse, leave the spectrum alone, resynthesise.
class FrameEngine : public VELMORA::FFTBase {
public:
    using FFTBase::FFTBase;
    using FFTBase::max;
    void process(float* samples, int count) override { processInPlace(samples, count); }
    void onBufferReady() override {
        ++frames;
        buffer2complex(nullptr, nullptr);
        complex2frequencies(nullptr);
        complex2buffer(nullptr, nullptr);
    }
    int frames = 0;
};

std::vector<float> impulseResponse(FrameEngine& engine, int position, int length) {
    std::vector<float> samples(static_cast<std::size_t>(length), 0.0f);
    samples[static_cast<std::size_t>(position)] = 1.0f;
    engine.process(samples.data(), length);
    return samples;
}

void feed(FrameEngine& engine, int count) {
    std::vector<float> silence(static_cast<std::size_t>(count), 0.0f);
    engine.process(silence.data(), count);
}

} // namespace

// An impulse comes out once, fftFrameSize samples later: the frame that
// completes a sample's overlap-add is written to the output FIFO and read out
// during the following hop. Gain: 4 / osamp times the sum of the squared Hann
// windows over the hops, 1.5 at overlap 4.
TEST(FFTBaseTest, IdentityRoundTripDelaysByTheFrameSizeAtGainOneAndAHalf) {
    const int n = 4096;
    for (int position : {0, 700, 1023, 1024, 3000}) {
        FrameEngine engine(n, 4, 48000.0f);
        const std::vector<float> out = impulseResponse(engine, position, position + n + 2048);
        for (std::size_t t = 0; t < out.size(); ++t) {
            const float expected = static_cast<int>(t) == position + n ? 1.5f : 0.0f;
            ASSERT_NEAR(out[t], expected, 1e-4f) << position << " at " << t;
        }
    }
}

TEST(FFTBaseTest, IdentityRoundTripReproducesNoiseAcrossOddBlocks) {
    const int n = 1024;
    const std::vector<float> x = probe::noise(8 * n, 5, 1.0f);
    std::vector<float> y = x;
    FrameEngine engine(n, 4, 48000.0f);
    for (std::size_t start = 0; start < y.size(); start += 333) {
        engine.process(y.data() + start, static_cast<int>(std::min<std::size_t>(333, y.size() - start)));
    }
    for (std::size_t t = n; t < y.size(); ++t) {
        ASSERT_NEAR(y[t], 1.5f * x[t - n], 1e-4f) << t;
    }
}

TEST(FFTBaseTest, AtOverlapTwoTheGainDependsOnThePosition) {
    FrameEngine atHop(4096, 2, 48000.0f);
    FrameEngine atQuarter(4096, 2, 48000.0f);
    // 2 * (sin^4 + cos^4) of the position's phase within the hop.
    EXPECT_NEAR(impulseResponse(atHop, 0, 4097)[4096], 2.0f, 1e-5f);
    EXPECT_NEAR(impulseResponse(atQuarter, 512, 4609)[4608], 1.5f, 1e-5f);
}

TEST(FFTBaseTest, TrueFrequencyAndMagnitudeOfASineAtAndOffABinCentre) {
    const int n = 4096;
    const double binWidth = 48000.0 / n;
    for (int overlap : {2, 4}) {
        for (double offset : {0.0, 0.25, -0.25}) {
            FrameEngine engine(n, overlap, 48000.0f);
            const double frequency = (100.0 + offset) * binWidth;
            std::vector<float> samples = sine(frequency, 48000.0, 4 * n);
            engine.process(samples.data(), static_cast<int>(samples.size()));
            EXPECT_NEAR(engine.getFrequencies(100), frequency, 2e-3) << overlap << " " << offset;
            // Amplitude times N/2 times the Hann kernel sinc(d) / (1 - d^2).
            const double d = std::fabs(offset);
            const double kernel = d == 0.0 ? 1.0 : std::sin(M_PI * d) / (M_PI * d) / (1.0 - d * d);
            EXPECT_NEAR(engine.getMagnitudes(100) / (n / 2.0), kernel, 1e-4);
        }
    }
}

TEST(FFTBaseTest, ResetZeroesTheStateAndRestartsTheFrameCount) {
    FrameEngine engine(64, 4, 48000.0f);
    std::vector<float> tone = sine(3000.0, 48000.0, 100);
    engine.process(tone.data(), 100);
    ASSERT_NE(engine.getMagnitudesPeaks(5), 0.0f);
    engine.reset();
    for (int k = 0; k <= 32; ++k) {
        EXPECT_EQ(engine.getPhases(k) + engine.getMagnitudesPeaks(k) + engine.getMagnitudesNormalized(k) +
                      engine.getFrequencies(k) + engine.getWave(k) + engine.getWave(63 - k), 0.0f) << k;
    }
    engine.frames = 0;
    std::vector<float> silence(128, 0.0f);
    engine.process(silence.data(), 15);
    EXPECT_EQ(engine.frames, 0);
    engine.process(silence.data() + 15, 113);
    EXPECT_EQ(engine.frames, 8);
    EXPECT_EQ(silence, std::vector<float>(128, 0.0f));  // nothing of the tone survives
}

TEST(FFTBaseTest, SetSizeKeepsTheFifosAtTheSameSizeAndGrowsForALargerOne) {
    FrameEngine engine(64, 4, 48000.0f);
    std::vector<float> ramp(40, 1.0f);
    engine.process(ramp.data(), 40);
    engine.setSize(64);
    EXPECT_EQ(engine.getWave(63), 1.0f);
    engine.frames = 0;
    feed(engine, 15);
    EXPECT_EQ(engine.frames, 0);  // the count restarted at the FIFO's fill point
    feed(engine, 1);
    EXPECT_EQ(engine.frames, 1);

    engine.setSize(256);
    EXPECT_EQ(engine.getSize(), 256);
    EXPECT_EQ(engine.getWave(255), 0.0f);
    feed(engine, 64);
    EXPECT_EQ(engine.frames, 2);
    engine.setOverlap(2);
    EXPECT_EQ(engine.getOverlap(), 2);
    feed(engine, 127);
    EXPECT_EQ(engine.frames, 2);
}

TEST(FFTBaseTest, UnsupportedSizesLeaveTheSamplesUntouched) {
    for (auto [size, overlap] : {std::pair{48, 4}, std::pair{64, 0}, std::pair{64, 128}, std::pair{-8, 2}}) {
        FrameEngine engine(size, overlap, 48000.0f);
        std::vector<float> samples{1, 2, 3, 4};
        engine.process(samples.data(), 4);
        EXPECT_EQ(samples, (std::vector<float>{1, 2, 3, 4})) << size << "/" << overlap;
    }
}

TEST(FFTBaseTest, NormalisedMagnitudesAndDecayingPeaks) {
    FrameEngine engine(8, 4, 48000.0f);
    std::vector<float> freqs(5, 0.0f);
    const auto analyse = [&](std::vector<float> mags) { engine.onAnalysis(freqs.data(), mags.data()); };
    analyse({4.0f, 2.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(engine.getMagnitudesNormalized(1), 0.5f);
    EXPECT_EQ(engine.getMagnitudesPeaks(0), 1.0f);
    analyse({0.0f, 2.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_NEAR(engine.getMagnitudesNormalized(1), 2.0f / 3.99f, 1e-6f);  // max fell by 0.01
    EXPECT_FLOAT_EQ(engine.getMagnitudesPeaks(0), 0.93f);
    int frames = 2;
    while (engine.getMagnitudesPeaks(0) != 0.0f && frames < 5000) {
        ASSERT_GE(engine.getMagnitudesPeaks(0), FLT_MIN);  // never subnormal
        analyse({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
        ++frames;
    }
    EXPECT_GT(frames, 1000);
    EXPECT_LT(engine.max, 1.0f);
    analyse({0.5f, 0.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(engine.getMagnitudesNormalized(0), 0.5f);  // never divided by less than 1
}
