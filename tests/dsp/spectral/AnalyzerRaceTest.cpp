// The note sums are summed on the render thread and read on the interface
// thread at the same time; these run both sides concurrently (under
// ThreadSanitizer in the full test run).
#include "Analyzer.h"
#include "Scala.h"
#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

using probe::sine;

namespace {

bool allZero(const float* sums) {
    return std::all_of(sums, sums + 128, [](float v) { return v == 0.0f; });
}

} // namespace

TEST(ScalaRaceTest, EveryReadIsOneWholeNormalisedPass) {
    Scala scala;
    // Every pass gives note n the magnitude n % 5 (0..4): the normalised read
    // is (n % 5) / 4 exactly, whether it averages several passes or takes one.
    std::vector<float> freqs;
    std::vector<float> mags;
    for (int n = 0; n < 128; ++n) {
        freqs.push_back(scala.getFrequency(n));
        mags.push_back(static_cast<float>(n % 5));
    }
    std::vector<float> phases(128, 0.0f);
    std::vector<int32_t> toneOfBin(128);
    ASSERT_TRUE(scala.reserve(128));

    std::atomic<bool> done{false};
    std::thread render([&] {
        for (int i = 0; i < 20000; ++i) {
            scala.assignBins(mags.data(), freqs.data(), phases.data(), 128, toneOfBin.data());
            scala.chromaticScaleSums(0, 128);
        }
        done.store(true);
    });
    int wholeReads = 0;
    bool lastRead = false;
    while (!lastRead) {
        lastRead = done.load();
        const float* sums = scala.getChromatic(0, 128, true);
        if (allZero(sums)) {
            continue;
        }
        ++wholeReads;
        for (int n = 0; n < 128; ++n) {
            ASSERT_EQ(sums[n], static_cast<float>(n % 5) / 4.0f) << n;
        }
    }
    render.join();
    EXPECT_GT(wholeReads, 0);
}

TEST(AnalyzerRaceTest, ReadingWhileAnalysingSeesTheToneAtItsNote) {
    VELMORA::Analyzer analyzer(4096, 2, 48000.0f);
    analyzer.setChromatic(true);
    std::vector<float> tone = sine(440.0, 48000.0, 400 * 512);
    std::atomic<bool> done{false};
    std::thread render([&] {
        for (std::size_t start = 0; start < tone.size(); start += 512) {
            analyzer.process(tone.data() + start, 512);
        }
        done.store(true);
    });
    int reads = 0;
    bool lastRead = false;
    while (!lastRead) {
        lastRead = done.load();
        const float* sums = analyzer.scala.getChromatic(0, 128, true);
        if (allZero(sums)) {
            std::this_thread::yield();
            continue;
        }
        ++reads;
        ASSERT_EQ(std::max_element(sums, sums + 128) - sums, 69);
        ASSERT_EQ(sums[69], 1.0f);
    }
    render.join();
    EXPECT_GT(reads, 0);
}
