#include "Modulator.h"
#include "Wavetables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

TEST(ModulatorTest, NoteTableIsEqualTemperedFromA440) {
    Modulator modulator;
    EXPECT_EQ(Modulator::freqTable[69], 440.0f);
    EXPECT_EQ(Modulator::freqFactors[60], 1.0f);
    for (int n = 0; n < 128; ++n) {
        const double expected = 440.0 * std::pow(2.0, (n - 69) / 12.0);
        EXPECT_NEAR(Modulator::freqTable[n], expected, 1e-6 * expected) << n;
        EXPECT_NEAR(Modulator::freqFactors[n], expected / 261.6255653, 1e-6 * expected / 261.6) << n;
    }
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
    EXPECT_NEAR(Modulator::waveSine[1024], 1.0f, 1e-7f);
    EXPECT_NEAR(Modulator::waveSineSquar[512], (std::pow(std::sqrt(0.5), 0.125) + 1.0) * 0.5, 1e-6);
    EXPECT_NEAR(Modulator::waveSineQuad[3072], 0.0f, 1e-7f);
    EXPECT_NEAR(Modulator::waveRampLogUp[2048], 440.0 / 14080.0 * 0.5, 1e-7);
    EXPECT_EQ(Modulator::waveSaw[1024] + Modulator::waveRampLinUp[1024], 1.0f);
}

TEST(ModulatorTest, TimbreTablesAreCentredAndPeakAtOne) {
    for (int n = 3; n <= 64; ++n) {
        const float* table = Wavetables::timbre(n);
        EXPECT_NEAR(std::accumulate(table, table + 4096, 0.0) / 4096.0, 0.0, 1e-4) << n;
        const auto peak = [](float a, float b) { return std::fabs(a) < std::fabs(b); };
        EXPECT_NEAR(std::fabs(*std::max_element(table, table + 4096, peak)), 1.0f, 1e-3f) << n;
    }
}
