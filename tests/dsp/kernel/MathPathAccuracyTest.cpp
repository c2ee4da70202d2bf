#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "KernelRig.h"
#include "SignalProbe.h"

using namespace kernel_rig;

// The vector functions differ from the C library's by up to an ulp. In bins
// holding only rounding noise that can turn a phase unwrap by a whole turn,
// which the pitch ratio makes a lasting, equally valid, phase offset; under a
// noise floor no bin is that empty, and the two paths must then agree closely.
namespace {

constexpr double kRate = 48000.0;
// Ten seconds where the numbers count. The sanitizer build checks memory and
// undefined behaviour, which two seconds exercise as fully, at a fifth of its
// slow running time.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kFrames = 2 * 48000;
#else
constexpr std::size_t kFrames = 10 * 48000;
#endif

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

// Tones, bursts that start and stop every quarter second, and white noise at
// -40 dBFS (RMS) under everything.
const Stereo& testSignal()
{
    static const Stereo signal = [] {
        Stereo s{std::vector<float>(kFrames), std::vector<float>(kFrames)};
        std::mt19937 random(17);
        const float noiseAmplitude = 0.01f * std::sqrt(3.0f);
        std::uniform_real_distribution<float> noise(-noiseAmplitude, noiseAmplitude);
        for (std::size_t t = 0; t < kFrames; ++t) {
            const double time = static_cast<double>(t) / kRate;
            const double burst = (t / 12000) % 2 == 1 ? 0.25 : 0.0;
            s.left[t] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 220.0 * time) +
                                           0.15 * std::sin(2.0 * M_PI * 659.25 * time) +
                                           burst * std::sin(2.0 * M_PI * 1500.0 * time)) + noise(random);
            s.right[t] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 329.63 * time) +
                                            0.15 * std::sin(2.0 * M_PI * 1234.0 * time) +
                                            burst * std::sin(2.0 * M_PI * 2637.0 * time)) + noise(random);
        }
        return s;
    }();
    return signal;
}

// Bands that move every note, in a different pattern for each processing mode:
// ratios from 0.5 to about 1.7 in pitch shift.
float bandValue(int processingMode, int note)
{
    return 0.25f + 0.4f * static_cast<float>((note * 5 + processingMode * 3) % 13) / 12.0f;
}

Stereo render(int operationMode, int processingMode, VELMORA::BinMath::Path path)
{
    Rig rig;
    pushWorkingDefaults(*rig.adapter);
    for (int mode = 0; mode < 5; ++mode) {
        for (int note = 0; note < 128; ++note)
            set(*rig.adapter, bandAddress(mode, note), bandValue(mode, note));
    }
    set(*rig.adapter, kOperationMode, static_cast<float>(operationMode));
    set(*rig.adapter, kProcessingMode, static_cast<float>(processingMode));
    rig.adapter->setMathPath(path);
    rig.allocate();
    rig.setInput(testSignal().left, testSignal().right);
    auto [left, right] = rig.renderAll(512);
    return {std::move(left), std::move(right)};
}

float peak(const Stereo& s)
{
    float largest = 0.0f;
    for (const auto* channel : {&s.left, &s.right}) {
        for (const float x : *channel)
            largest = std::max(largest, std::fabs(x));
    }
    return largest;
}

// The strongest component of one channel in the middle of the render.
double pitch(const std::vector<float>& x)
{
    return probe::peakFrequency(x, kFrames / 2, 8192, kRate, 50.0, 4000.0);
}

class MathPathAccuracyTest : public testing::TestWithParam<std::tuple<int, int>> {};

} // namespace

TEST_P(MathPathAccuracyTest, VectorPathFollowsTheLibraryPathSampleBySampleAndInPitch)
{
    const auto [operationMode, processingMode] = GetParam();
    const Stereo library = render(operationMode, processingMode, VELMORA::BinMath::Path::library);
    const Stereo vector = render(operationMode, processingMode, VELMORA::BinMath::Path::widestVectors);
    const float limit = 5e-3f * peak(library);
    ASSERT_GT(limit, 0.0f);
    for (const auto& [a, b] : {std::pair{&library.left, &vector.left}, std::pair{&library.right, &vector.right}}) {
        for (std::size_t t = 0; t < kFrames; ++t)
            ASSERT_LE(std::fabs((*a)[t] - (*b)[t]), limit) << "sample " << t;
        const double expected = pitch(*a);
        EXPECT_NEAR(pitch(*b), expected, 1e-3 * expected);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, MathPathAccuracyTest,
                         testing::Combine(testing::Range(0, 4), testing::Range(0, 5)),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return "Operation" + std::to_string(std::get<0>(info.param)) + "Processing" +
                                    std::to_string(std::get<1>(info.param));
                         });
