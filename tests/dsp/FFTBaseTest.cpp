#include "FFTBase.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

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

std::vector<float> sine(double frequency, double rate, int count) {
    std::vector<float> samples(static_cast<std::size_t>(count));
    for (int t = 0; t < count; ++t) {
        samples[static_cast<std::size_t>(t)] = static_cast<float>(std::sin(2.0 * M_PI * frequency * t / rate));
    }
    return samples;
}

std::vector<float> impulseResponse(FrameEngine& engine, int position, int length) {
    std::vector<float> samples(static_cast<std::size_t>(length), 0.0f);
    samples[static_cast<std::size_t>(position)] = 1.0f;
    engine.process(samples.data(), length);
    return samples;
}

} // namespace

TEST(FFTBaseTest, DerivedValuesFollowSizeAndOverlap) {
    FrameEngine four(4096, 4, 48000.0f);
    EXPECT_EQ(four.getSize(), 4096);
    EXPECT_EQ(four.getOverlap(), 4);
    EXPECT_FLOAT_EQ(four.getSamplerate(), 48000.0f);
    four.setSamplerate(44100.0f);
    EXPECT_EQ(four.getSamplerate(), 44100.0f);

    std::vector<float> block(1023, 0.0f);
    four.process(block.data(), 1023);
    EXPECT_EQ(four.frames, 0);
    four.process(block.data(), 1);
    EXPECT_EQ(four.frames, 1);
    std::vector<float> more(2048, 0.0f);
    four.process(more.data(), 2048);
    EXPECT_EQ(four.frames, 3);

    FrameEngine two(4096, 2, 48000.0f);
    std::vector<float> hop(2048, 0.0f);
    two.process(hop.data(), 2048);
    EXPECT_EQ(two.frames, 1);
}

TEST(FFTBaseTest, WindowIsThePeriodicHann) {
    FrameEngine engine(16, 4, 48000.0f);
    std::vector<float> ones(16, 1.0f);
    std::vector<float> c(34, 0.0f);
    // The spectrum of a periodic Hann has only three lines: N/2 at DC and
    // -N/4 in the bins beside it.
    engine.buffer2complex(ones.data(), c.data());
    EXPECT_NEAR(c[0], 8.0f, 1e-5f);
    EXPECT_NEAR(c[2], -4.0f, 1e-5f);
    EXPECT_NEAR(c[30], -4.0f, 1e-5f);
    for (int k = 2; k < 15; ++k) {
        EXPECT_NEAR(c[2 * static_cast<std::size_t>(k)], 0.0f, 1e-5f) << k;
    }
}

TEST(FFTBaseTest, IdentityRoundTripDelaysByTheFrameSizeAtGainOneAndAHalf) {
    const int n = 4096;
    for (int position : {0, 1, 700, 1023, 1024, 3000}) {
        FrameEngine engine(n, 4, 48000.0f);
        const std::vector<float> out = impulseResponse(engine, position, position + n + 2048);
        for (std::size_t t = 0; t < out.size(); ++t) {
            if (static_cast<int>(t) == position + n) {
                EXPECT_NEAR(out[t], 1.5f, 1e-4f) << position;
            } else {
                ASSERT_NEAR(out[t], 0.0f, 1e-5f) << position << " at " << t;
            }
        }
    }
}

TEST(FFTBaseTest, IdentityRoundTripReproducesNoise) {
    const int n = 1024;
    std::mt19937 generator(5);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(8 * n);
    for (float& v : x) {
        v = dist(generator);
    }
    std::vector<float> y = x;
    FrameEngine engine(n, 4, 48000.0f);
    // Odd block lengths cross frame boundaries anywhere.
    for (std::size_t start = 0; start < y.size(); start += 333) {
        const std::size_t count = std::min<std::size_t>(333, y.size() - start);
        engine.process(y.data() + start, static_cast<int>(count));
    }
    for (std::size_t t = n; t < y.size(); ++t) {
        ASSERT_NEAR(y[t], 1.5f * x[t - n], 1e-4f) << t;
    }
}

TEST(FFTBaseTest, AtOverlapTwoTheGainDependsOnThePosition) {
    const int n = 4096;
    FrameEngine atHop(n, 2, 48000.0f);
    FrameEngine atQuarter(n, 2, 48000.0f);
    const float hop = impulseResponse(atHop, 0, n + 1)[n];
    const float quarter = impulseResponse(atQuarter, 512, n + 513)[n + 512];
    // The squared windows sum to sin^4 + cos^4 of the phase within the hop.
    EXPECT_NEAR(hop, 2.0f, 1e-5f);
    EXPECT_NEAR(quarter, 1.5f, 1e-5f);
}

TEST(FFTBaseTest, TrueFrequencyOfASineAtABinCentreAndAQuarterBinOff) {
    const float rate = 48000.0f;
    const int n = 4096;
    const double binWidth = rate / n;
    for (int overlap : {2, 4}) {
        for (double offset : {0.0, 0.25, -0.25}) {
            FrameEngine engine(n, overlap, rate);
            const double frequency = (100.0 + offset) * binWidth;
            std::vector<float> samples = sine(frequency, rate, 4 * n);
            engine.process(samples.data(), static_cast<int>(samples.size()));
            EXPECT_NEAR(engine.getFrequencies(100), frequency, 2e-3) << overlap << " " << offset;
            // Magnitude: amplitude times N/2 times the Hann kernel at the offset,
            // sinc(d) / (1 - d^2).
            const double d = std::fabs(offset);
            const double kernel = d == 0.0 ? 1.0 : std::sin(M_PI * d) / (M_PI * d) / (1.0 - d * d);
            EXPECT_NEAR(engine.getMagnitudes(100) / (n / 2.0), kernel, 1e-4);
        }
    }
}

TEST(FFTBaseTest, ResetZeroesTheFifosAndRestartsTheFrameCount) {
    FrameEngine engine(64, 4, 48000.0f);
    std::vector<float> noise = sine(3000.0, 48000.0, 100);
    engine.process(noise.data(), 100);
    ASSERT_NE(engine.getPhases(5), 0.0f);
    ASSERT_NE(engine.getMagnitudesPeaks(5), 0.0f);
    engine.reset();
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(engine.getWave(i), 0.0f);
    }
    for (int k = 0; k <= 32; ++k) {
        EXPECT_EQ(engine.getPhases(k), 0.0f);
        EXPECT_EQ(engine.getMagnitudesPeaks(k), 0.0f);
        EXPECT_EQ(engine.getMagnitudesNormalized(k), 0.0f);
        EXPECT_EQ(engine.getFrequencies(k), 0.0f);
    }
    // Nothing of the earlier signal survives in the output.
    engine.frames = 0;
    std::vector<float> silence(128, 0.0f);
    engine.process(silence.data(), 15);
    EXPECT_EQ(engine.frames, 0);
    engine.process(silence.data() + 15, 113);
    EXPECT_EQ(engine.frames, 8);
    for (float v : silence) {
        EXPECT_EQ(v, 0.0f);
    }
}

TEST(FFTBaseTest, SetSizeKeepsTheFifosAtTheSameSizeAndGrowsForALargerOne) {
    FrameEngine engine(64, 4, 48000.0f);
    std::vector<float> ramp(40);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = static_cast<float>(i + 1);
    }
    engine.process(ramp.data(), 40);
    const float kept = engine.getWave(63);
    ASSERT_NE(kept, 0.0f);
    engine.setSize(64);
    EXPECT_EQ(engine.getWave(63), kept);
    engine.frames = 0;
    std::vector<float> block(16, 0.0f);
    engine.process(block.data(), 15);
    EXPECT_EQ(engine.frames, 0);  // the frame count restarted at the FIFO's fill point
    engine.process(block.data(), 1);
    EXPECT_EQ(engine.frames, 1);

    engine.setSize(256);
    EXPECT_EQ(engine.getSize(), 256);
    EXPECT_EQ(engine.getWave(255), 0.0f);
    engine.frames = 0;
    std::vector<float> longer(64, 0.0f);
    engine.process(longer.data(), 64);
    EXPECT_EQ(engine.frames, 1);
    engine.setOverlap(2);
    EXPECT_EQ(engine.getOverlap(), 2);
    engine.process(longer.data(), 64);
    EXPECT_EQ(engine.frames, 1);
}

TEST(FFTBaseTest, UnsupportedSizesLeaveTheSamplesUntouched) {
    for (auto [size, overlap] : {std::pair{48, 4}, std::pair{64, 0}, std::pair{64, 128}, std::pair{0, 4}, std::pair{-8, 2}}) {
        FrameEngine engine(size, overlap, 48000.0f);
        std::vector<float> samples{1, 2, 3, 4};
        engine.process(samples.data(), 4);
        EXPECT_EQ(samples, (std::vector<float>{1, 2, 3, 4})) << size << "/" << overlap;
        EXPECT_EQ(engine.frames, 0);
    }
}

TEST(FFTBaseTest, NormalisationDividesByADecayingMaximumOfAtLeastOne) {
    FrameEngine engine(8, 4, 48000.0f);
    std::vector<float> freqs(5, 0.0f);
    std::vector<float> mags{4.0f, 2.0f, 0.0f, 0.0f, 0.0f};
    engine.onAnalysis(freqs.data(), mags.data());
    EXPECT_EQ(engine.getMagnitudesNormalized(0), 1.0f);
    EXPECT_EQ(engine.getMagnitudesNormalized(1), 0.5f);
    EXPECT_NEAR(engine.max, 3.99f, 1e-6f);

    std::vector<float> quiet{0.0f, 2.0f, 0.0f, 0.0f, 0.0f};
    engine.onAnalysis(freqs.data(), quiet.data());
    EXPECT_NEAR(engine.getMagnitudesNormalized(1), 2.0f / 3.99f, 1e-6f);
    for (int frame = 0; frame < 400; ++frame) {
        std::vector<float> silence(5, 0.0f);
        engine.onAnalysis(freqs.data(), silence.data());
    }
    EXPECT_LT(engine.max, 1.0f);
    std::vector<float> soft{0.5f, 0.0f, 0.0f, 0.0f, 0.0f};
    engine.onAnalysis(freqs.data(), soft.data());
    EXPECT_EQ(engine.getMagnitudesNormalized(0), 0.5f);
}

TEST(FFTBaseTest, AbandonedPeaksFallByTheDecayFactorAndEndAtExactlyZero) {
    FrameEngine engine(8, 4, 48000.0f);
    std::vector<float> freqs(5, 0.0f);
    std::vector<float> mags{1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    engine.onAnalysis(freqs.data(), mags.data());
    ASSERT_EQ(engine.getMagnitudesPeaks(0), 1.0f);
    std::vector<float> silence(5, 0.0f);
    engine.onAnalysis(freqs.data(), silence.data());
    EXPECT_FLOAT_EQ(engine.getMagnitudesPeaks(0), 0.93f);
    int frames = 1;
    while (engine.getMagnitudesPeaks(0) != 0.0f && frames < 5000) {
        ASSERT_GE(engine.getMagnitudesPeaks(0), FLT_MIN);
        engine.onAnalysis(freqs.data(), silence.data());
        ++frames;
    }
    EXPECT_EQ(engine.getMagnitudesPeaks(0), 0.0f);
    EXPECT_FALSE(std::signbit(engine.getMagnitudesPeaks(0)));
    EXPECT_GT(frames, 1000);
}
