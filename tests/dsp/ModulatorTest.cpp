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
    using Modulator::fGain;
    using Modulator::lMode;
    using Modulator::lobits;
    using Modulator::phase;
    using Modulator::sicvt;
    using Modulator::waveTable1;
    using Modulator::waveTable2;
};

class ProbeNoise : public NoiseOscillator {
public:
    using NoiseOscillator::fFrequency;
    using NoiseOscillator::freq;
};

} // namespace

TEST(ModulatorTest, NoteTableIsEqualTemperedFromA440) {
    Modulator modulator;
    EXPECT_EQ(Modulator::freqTable[69], 440.0f);
    EXPECT_EQ(Modulator::freqTable[0], 8.1757994f);
    EXPECT_EQ(Modulator::freqTable[60], 261.62558f);
    EXPECT_EQ(Modulator::freqTable[127], 12543.854f);
    for (int n = 0; n < 128; ++n) {
        EXPECT_NEAR(Modulator::freqTable[n], 440.0 * std::pow(2.0, (n - 69) / 12.0),
                    1e-6 * Modulator::freqTable[n]) << n;
        if (n > 0) {
            EXPECT_NEAR(Modulator::freqTable[n] / Modulator::freqTable[n - 1], 1.059463094359, 1e-6);
        }
    }
    EXPECT_FLOAT_EQ(Modulator::freqFactors[0], 0.03125f);
    EXPECT_EQ(Modulator::freqFactors[60], 1.0f);
    EXPECT_FLOAT_EQ(Modulator::freqFactors[72], 2.0f);
    EXPECT_FLOAT_EQ(Modulator::freqFactors[69], 440.0f / 261.62558f);
}

TEST(ModulatorTest, GeneratedShapesFollowTheirFormulas) {
    Modulator modulator;
    EXPECT_EQ(Modulator::maxFrequency, 14080.0f);
    for (int i : {0, 1, 512, 1024, 2047, 2048, 3000, 4095}) {
        const double x = i / 4096.0;
        // The shapes take 2 pi as a float; near the zero crossings the eighth
        // root magnifies that, so the reference uses the same angle.
        const double s = std::sin(static_cast<double>(6.2831855f * static_cast<float>(x)));
        const double root = std::pow(std::fabs(s), 0.125);
        EXPECT_NEAR(Modulator::waveSine[i], (s + 1.0) * 0.5, 1e-6) << i;
        EXPECT_NEAR(Modulator::waveSaw[i], 1.0 - x, 1e-6) << i;
        EXPECT_NEAR(Modulator::waveSineSquar[i], (i < 2048 ? 1.0 + root : 1.0 - root) * 0.5, 1e-5) << i;
        EXPECT_NEAR(Modulator::waveSineQuad[i], (s * s * s + 1.0) * 0.5, 1e-6) << i;
        EXPECT_NEAR(Modulator::waveRampLinUp[i], x, 1e-7) << i;
        EXPECT_NEAR(Modulator::waveRampLinDown[i], 1.0 - x, 1e-7) << i;
        EXPECT_NEAR(Modulator::waveRampExponUp[i], x * x * x, 1e-7) << i;
        EXPECT_EQ(Modulator::waveRampExponDown[i], Modulator::waveRampExponUp[4095 - i]) << i;
        const double sweep = 440.0 * std::pow(2.0, 10.0 * x - 5.0);
        EXPECT_NEAR(Modulator::wave100[i], sweep, 1e-5 * sweep) << i;
        EXPECT_NEAR(Modulator::waveRampLogUp[i], sweep / 14080.0 * x, 1e-6) << i;
        EXPECT_EQ(Modulator::waveRampLogDown[i], Modulator::waveRampLogUp[4095 - i]) << i;
    }
    EXPECT_EQ(Modulator::wave100[0], 13.75f);
}

TEST(ModulatorTest, TablesAreBuiltOnceAndKeptAcrossLifetimes) {
    std::vector<float> before;
    {
        Modulator first;
        before.assign(Modulator::freqTable, Modulator::freqTable + 128);
        const int64_t live = Modulator::count.load();
        Modulator second;
        EXPECT_EQ(Modulator::count.load(), live + 1);
    }
    EXPECT_EQ(Modulator::count.load(), 0);
    Modulator again;
    EXPECT_EQ(Modulator::count.load(), 1);
    EXPECT_EQ(std::vector<float>(Modulator::freqTable, Modulator::freqTable + 128), before);
}

TEST(ModulatorTest, ConstructionSetsItsDefaults) {
    ProbeModulator modulator;
    EXPECT_EQ(modulator.getMode(), 1);
    EXPECT_EQ(modulator.getGain(), 0.5f);
    EXPECT_EQ(modulator.getFrequency(), 1.0f);
    EXPECT_EQ(modulator.getShape(), 1.0f);
    EXPECT_EQ(modulator.getPhase(), 0.0f);
    EXPECT_EQ(modulator.lobits, 12);
    EXPECT_EQ(modulator.waveTable1, Modulator::waveSine);
    EXPECT_EQ(modulator.waveTable2, Modulator::waveSine);
    EXPECT_FLOAT_EQ(modulator.sicvt, 16777216.0f / 48000.0f);
    EXPECT_EQ(modulator.onCycleEnd, nullptr);
}

TEST(ModulatorTest, SettersClampTheirValues) {
    ProbeModulator modulator;
    modulator.setFrequency(-5.0f);
    EXPECT_EQ(modulator.getFrequency(), 0.0f);
    modulator.setFrequency(48000.0f);
    EXPECT_EQ(modulator.getFrequency(), 47999.0f);
    modulator.setGain(2.0f);
    EXPECT_EQ(modulator.getGain(), 1.0f);
    modulator.setGain(-3.0f);
    EXPECT_EQ(modulator.getGain(), -1.0f);
    modulator.setShape(-1.0f);
    EXPECT_EQ(modulator.getShape(), 0.0f);
    modulator.setShape(0.3f);
    EXPECT_EQ(modulator.getShape(), 0.3f);
    modulator.setPhase(-0.5f);
    EXPECT_EQ(modulator.phase, 0);
    modulator.setPhase(0.25f);
    EXPECT_EQ(modulator.phase, 4194304);
    EXPECT_EQ(modulator.getPhase(), 0.25f);
    modulator.setPhase(NAN);
    EXPECT_EQ(modulator.phase, 0);
    modulator.setNumCycles(-7);
    EXPECT_EQ(modulator.getNumCycles(), -7);

    modulator.setSamplerate(0.0f);
    EXPECT_FLOAT_EQ(modulator.sicvt, 16777216.0f / 48000.0f);
    modulator.setSamplerate(1000.0f);
    modulator.setFrequency(2000.0f);
    EXPECT_EQ(modulator.getFrequency(), 999.0f);
    modulator.setPhase(0.5f);
    modulator.retrigger();
    EXPECT_EQ(modulator.phase, 0);
}

TEST(ModulatorTest, TableSelectionPairsTheSineWithTheChosenWave) {
    ProbeModulator modulator;
    modulator.setTable(2);
    EXPECT_EQ(modulator.waveTable1, Wavetables::table_sine());
    EXPECT_EQ(modulator.waveTable2, Wavetables::table_sqr());
    modulator.setTable(0);
    EXPECT_EQ(modulator.waveTable2, Wavetables::table_tri());
    modulator.setTable(1);
    EXPECT_EQ(modulator.waveTable2, Wavetables::table_saw());
    modulator.setTable(64);
    EXPECT_EQ(modulator.waveTable2, Wavetables::timbre(64));
    modulator.setTable(65);
    EXPECT_EQ(modulator.waveTable1, Modulator::waveSine);
    EXPECT_EQ(modulator.waveTable2, Modulator::waveSine);
    modulator.setTable(3);
    modulator.setTable(-1);
    EXPECT_EQ(modulator.waveTable2, Modulator::waveSine);

    modulator.setTables(Modulator::waveSaw, Modulator::waveSaw, 1);
    EXPECT_EQ(modulator.lobits, 24);
    modulator.setTables(Modulator::waveSaw, Modulator::waveSaw, 256);
    EXPECT_EQ(modulator.lobits, 16);
    modulator.setTables(Modulator::waveSine, Modulator::waveSine, 300);
    modulator.setTables(nullptr, Modulator::waveSine, 4096);
    EXPECT_EQ(modulator.waveTable1, Modulator::waveSaw);
    EXPECT_EQ(modulator.lobits, 16);
}

TEST(WavetablesTest, SixtySixZeroMeanCyclesPeakingAtOne) {
    std::vector<const float*> tables{Wavetables::table_sine(), Wavetables::table_tri(),
                                     Wavetables::table_saw(), Wavetables::table_sqr()};
    for (int n = 3; n <= 64; ++n) {
        tables.push_back(Wavetables::timbre(n));
    }
    EXPECT_EQ(Wavetables::timbre(2), nullptr);
    EXPECT_EQ(Wavetables::timbre(65), nullptr);
    ASSERT_EQ(tables.size(), 66u);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const float* table = tables[t];
        const double mean = std::accumulate(table, table + 4096, 0.0) / 4096.0;
        float peak = 0.0f;
        for (int i = 0; i < 4096; ++i) {
            peak = std::max(peak, std::fabs(table[i]));
        }
        EXPECT_NEAR(mean, 0.0, 1e-4) << t;
        EXPECT_NEAR(peak, 1.0f, 1e-3f) << t;
        if (t > 0) {
            EXPECT_NE(std::vector<float>(table, table + 4096),
                      std::vector<float>(tables[t - 1], tables[t - 1] + 4096)) << t;
        }
    }
    EXPECT_NEAR(Wavetables::table_sine()[1024], 1.0f, 1e-6f);
}

TEST(NoiseOscillatorTest, FrequencyIsAFractionOfTheRate) {
    ProbeNoise noise;
    EXPECT_EQ(noise.freq, 44100.0f);
    noise.setFrequency(2.0f);
    EXPECT_EQ(noise.fFrequency, 1.0f);
    noise.setFrequency(0.5f);
    EXPECT_EQ(noise.freq, 22050.0f);
    noise.setSamplerate(1.5f);
    EXPECT_EQ(noise.freq, 1.0f);
    noise.setFrequency(-1.0f);
    EXPECT_EQ(noise.freq, 0.0f);
    noise.setSamplerate(48000.0f);
    EXPECT_EQ(noise.freq, 1.0f);
}
