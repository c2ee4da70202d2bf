#include "Analyzer.h"
#include "Console.h"

#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using probe::sine;

namespace {

class ProbeAnalyzer : public VELMORA::Analyzer {
public:
    using Analyzer::Analyzer;
    using Analyzer::chromaticIndex;
    using Analyzer::updaterate;
    void onAnalysis(float* f, float* m) override {
        ++analyses;
        Analyzer::onAnalysis(f, m);
    }
    int analyses = 0;
};

} // namespace

TEST(AnalyzerTest, AnnouncesItselfWithItsAddress) {
    Console::Capture capture;
    ProbeAnalyzer analyzer(4096, 2, 48000.0f);
    char expected[64];
    std::snprintf(expected, sizeof expected, "DIAGNOSTICS: FFT Analyzer loaded. [ %p ]",
                  static_cast<void*>(&analyzer));
    EXPECT_EQ(capture.lines(), std::vector<std::string>{expected});
}

TEST(AnalyzerTest, UpdateRateBecomesFramesPerAnalysis) {
    ProbeAnalyzer analyzer(4096, 2, 48000.0f);
    EXPECT_EQ(analyzer.updaterate, 1);
    analyzer.setSamplerate(262144.0f);
    EXPECT_EQ(analyzer.updaterate, 1);
    analyzer.setSamplerate(262145.0f);
    EXPECT_EQ(analyzer.updaterate, 2);
    analyzer.setUpdateRate(0);
    EXPECT_EQ(analyzer.updaterate, 1);
    analyzer.setSamplerate(96000.0f);  // no rate asked for: still every frame
    EXPECT_EQ(analyzer.updaterate, 1);
}

TEST(AnalyzerTest, AnalysesOneFrameInUpdaterateAndRestartsTheCountOnClear) {
    ProbeAnalyzer analyzer(1024, 4, 48000.0f);
    analyzer.setUpdateRate(47);  // ceil(187.5 / 47) = 4
    ASSERT_EQ(analyzer.updaterate, 4);
    std::vector<float> silence(256 * 9, 0.0f);
    analyzer.process(silence.data(), 256 * 9);
    EXPECT_EQ(analyzer.analyses, 3);  // frames 0, 4 and 8
    analyzer.reset();
    analyzer.process(silence.data(), 256);
    EXPECT_EQ(analyzer.analyses, 4);
}

TEST(AnalyzerTest, APureA440LandsInNoteSixtyNine) {
    ProbeAnalyzer analyzer(4096, 2, 48000.0f);
    analyzer.setChromatic(true);
    std::vector<float> tone = sine(440.0, 48000.0, 48000);
    analyzer.process(tone.data(), static_cast<int>(tone.size()));
    EXPECT_EQ(analyzer.chromaticIndex[37], 72);  // 433.6 Hz
    EXPECT_EQ(analyzer.chromaticIndex[38], 72);  // 445.3 Hz
    float* sums = analyzer.scala.getChromatic(0, 128, true);
    EXPECT_EQ(std::max_element(sums, sums + 128) - sums, 69);
    EXPECT_EQ(sums[69], 1.0f);
}

TEST(AnalyzerTest, NoteSumsAreTheMagnitudesOfEachTonesBins) {
    ProbeAnalyzer analyzer(4096, 2, 48000.0f);
    analyzer.setChromatic(true);
    std::vector<float> chord = sine(261.6, 48000.0, 14336);
    const std::vector<float> fifth = sine(392.0, 48000.0, 14336);
    for (std::size_t i = 0; i < chord.size(); ++i) {
        chord[i] = 3.0f * (chord[i] + fifth[i]);
    }
    analyzer.process(chord.data(), 12288);
    analyzer.scala.getChromatic(0, 128, false);  // from now on a read gives the last pass
    analyzer.process(chord.data() + 12288, 2048);
    std::vector<float> expected(140, 0.0f);
    for (int k = 0; k <= 2048; ++k) {
        expected[static_cast<std::size_t>(analyzer.chromaticIndex[k])] += analyzer.getMagnitudes(k);
    }
    const float* sums = analyzer.scala.getChromatic(0, 128, false);
    for (int n = 0; n < 128; ++n) {
        EXPECT_EQ(sums[n], expected[static_cast<std::size_t>(n) + 3]) << n;
    }
    EXPECT_GT(std::min(sums[60], sums[67]), 1000.0f);
}

TEST(AnalyzerTest, TwoInputsAreAnalysedAsTheirSum) {
    ProbeAnalyzer split(1024, 4, 48000.0f);
    ProbeAnalyzer summed(1024, 4, 48000.0f);
    std::vector<float> a = sine(1000.0, 48000.0, 4096);
    std::vector<float> b = sine(3000.0, 48000.0, 4096);
    std::vector<float> sum(4096);
    std::transform(a.begin(), a.end(), b.begin(), sum.begin(), std::plus<>());
    split.process(a.data(), b.data(), 4096);
    summed.process(sum.data(), 4096);
    ASSERT_GT(split.analyses, 0);
    EXPECT_EQ(std::memcmp(split.getMagnitudes(), summed.getMagnitudes(), 513 * sizeof(float)), 0);
    EXPECT_EQ(a, sine(1000.0, 48000.0, 4096));  // the input stays as it was
}

TEST(AnalyzerTest, ChromaticIndexFollowsTheOptionAndTheFrameSize) {
    ProbeAnalyzer analyzer(1024, 4, 48000.0f);
    EXPECT_EQ(analyzer.chromaticIndex, nullptr);
    analyzer.setChromatic(true);
    analyzer.setSize(8192);
    std::vector<float> tone = sine(20000.0, 48000.0, 8192);
    analyzer.process(tone.data(), 8192);
    EXPECT_EQ(analyzer.chromaticIndex[4096], 139);  // 24 kHz, above the top tone
    analyzer.setChromatic(false);
    EXPECT_EQ(analyzer.chromaticIndex, nullptr);
}
