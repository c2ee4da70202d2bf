#include "Modulator.h"
#include "NoiseOscillator.h"
#include "Wavetables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

namespace {

class ProbeModulator : public Modulator {
public:
    using Modulator::lobits;
    using Modulator::phase;
    using Modulator::waveTable1;
    using Modulator::waveTable2;
};

class ProbeNoise : public NoiseOscillator {
public:
    using NoiseOscillator::freq;
};

} // namespace

TEST(ModulatorTest, NoteTableIsEqualTemperedFromA440) {
    Modulator modulator;
    EXPECT_EQ(Modulator::freqTable[69], 440.0f);
    EXPECT_EQ(Modulator::freqTable[0], 8.1757994f);
    EXPECT_EQ(Modulator::freqTable[127], 12543.854f);
    for (int n = 0; n < 128; ++n) {
        const double expected = 440.0 * std::pow(2.0, (n - 69) / 12.0);
        EXPECT_NEAR(Modulator::freqTable[n], expected, 1e-6 * expected) << n;
        EXPECT_NEAR(Modulator::freqFactors[n], expected / 261.6255653, 1e-6 * expected / 261.6) << n;
    }
    EXPECT_EQ(Modulator::freqFactors[60], 1.0f);
}

TEST(ModulatorTest, ShapesAreBuiltOnceAndOutliveTheModulators) {
    std::vector<float> before;
    {
        Modulator first;
        Modulator second;
        EXPECT_EQ(Modulator::count.load(), 2);
        before.assign(Modulator::waveSineSquar, Modulator::waveSineSquar + 4096);
    }
    EXPECT_EQ(Modulator::count.load(), 0);
    Modulator again;
    EXPECT_EQ(std::vector<float>(Modulator::waveSineSquar, Modulator::waveSineSquar + 4096), before);
    EXPECT_EQ(Modulator::maxFrequency, 14080.0f);
    EXPECT_EQ(Modulator::wave100[0], 13.75f);
    EXPECT_NEAR(Modulator::waveSine[1024], 1.0f, 1e-7f);
    EXPECT_NEAR(Modulator::waveSineSquar[512], (std::pow(std::sqrt(0.5), 0.125) + 1.0) * 0.5, 1e-6);
    EXPECT_NEAR(Modulator::waveSineQuad[3072], 0.0f, 1e-7f);
    EXPECT_EQ(Modulator::waveRampExponUp[2048], 0.125f);
    EXPECT_EQ(Modulator::waveRampExponDown[4095], 0.0f);
    EXPECT_NEAR(Modulator::waveRampLogUp[2048], 440.0 / 14080.0 * 0.5, 1e-7);
    EXPECT_EQ(Modulator::waveRampLogDown[0], Modulator::waveRampLogUp[4095]);
    EXPECT_EQ(Modulator::waveSaw[1024] + Modulator::waveRampLinUp[1024], 1.0f);
}

TEST(ModulatorTest, DefaultsAndClampingSetters) {
    ProbeModulator modulator;
    EXPECT_EQ(modulator.getMode(), 1);
    EXPECT_EQ(modulator.getGain(), 0.5f);
    EXPECT_EQ(modulator.getFrequency(), 1.0f);
    modulator.setFrequency(-5.0f);
    EXPECT_EQ(modulator.getFrequency(), 0.0f);
    modulator.setSamplerate(0.0f);  // ignored
    modulator.setFrequency(48000.0f);
    EXPECT_EQ(modulator.getFrequency(), 47999.0f);
    modulator.setGain(2.0f);
    EXPECT_EQ(modulator.getGain(), 1.0f);
    modulator.setShape(-1.0f);
    EXPECT_EQ(modulator.getShape(), 0.0f);
    modulator.setPhase(-0.5f);
    EXPECT_EQ(modulator.phase, 0);
    modulator.setPhase(0.25f);
    EXPECT_EQ(modulator.phase, 4194304);
}

TEST(ModulatorTest, TableSelectionPairsTheSineWithTheChosenWave) {
    ProbeModulator modulator;
    EXPECT_EQ(modulator.waveTable1, Modulator::waveSine);
    modulator.setTable(2);
    EXPECT_EQ(modulator.waveTable1, Wavetables::table_sine());
    EXPECT_EQ(modulator.waveTable2, Wavetables::table_sqr());
    modulator.setTable(64);
    EXPECT_EQ(modulator.waveTable2, Wavetables::timbre(64));
    modulator.setTable(-1);
    EXPECT_EQ(modulator.waveTable2, Modulator::waveSine);
    modulator.setTables(Modulator::waveSaw, Modulator::waveSaw, 256);
    EXPECT_EQ(modulator.lobits, 16);
    modulator.setTables(Modulator::waveSine, Modulator::waveSine, 300);  // refused
    EXPECT_EQ(modulator.waveTable1, Modulator::waveSaw);

    for (int n = 3; n <= 64; ++n) {
        const float* table = Wavetables::timbre(n);
        EXPECT_NEAR(std::accumulate(table, table + 4096, 0.0) / 4096.0, 0.0, 1e-4) << n;
        const auto peak = [](float a, float b) { return std::fabs(a) < std::fabs(b); };
        EXPECT_NEAR(std::fabs(*std::max_element(table, table + 4096, peak)), 1.0f, 1e-3f) << n;
    }
}

TEST(NoiseOscillatorTest, FrequencyIsAClampedFractionOfTheRate) {
    ProbeNoise noise;
    EXPECT_EQ(noise.freq, 44100.0f);
    noise.setFrequency(0.5f);
    EXPECT_EQ(noise.freq, 22050.0f);
    noise.setSamplerate(1.5f);
    EXPECT_EQ(noise.freq, 1.0f);
}
