#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "KernelRig.h"
#include "SignalProbe.h"
#include "ZUV_VELMORA_Quillmere_Extension_DSPKernel.h"

using namespace kernel_rig;
using probe::noise;
using probe::sine;

namespace {

constexpr double kRate = 48000.0;
constexpr std::size_t kDelay = 4096;
constexpr float kOverlapGain = 1.5f;

// A rig at unity volumes with the given modes, ready to render.
std::unique_ptr<Rig> rigWith(float operationMode, float processingMode, float mix)
{
    auto rig = std::make_unique<Rig>();
    pushWorkingDefaults(*rig->adapter);
    set(*rig->adapter, kVolumeIn, 1.0f);
    set(*rig->adapter, kVolumeOut, 1.0f);
    set(*rig->adapter, kOperationMode, operationMode);
    set(*rig->adapter, kProcessingMode, processingMode);
    set(*rig->adapter, kMix, mix);
    rig->allocate();
    return rig;
}

std::vector<float> sum(const std::vector<float>& a, const std::vector<float>& b)
{
    std::vector<float> out(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        out[i] = a[i] + b[i];
    return out;
}

// Measurements over the steady state of a 40000-sample render.
double level(const std::vector<float>& x, double frequency)
{
    return probe::level(x, 20000, 16384, kRate, frequency);
}

double peakFrequency(const std::vector<float>& x)
{
    return probe::peakFrequency(x, 20000, 16384, kRate, 50.0, 4000.0);
}

// Level of one component relative to another in the same output.
double decibels(const std::vector<float>& x, double frequency, double reference)
{
    return 20.0 * std::log10(level(x, frequency) / level(x, reference));
}

// The level of both channels over `count` frames from `from`.
double stereoRms(const std::pair<std::vector<float>, std::vector<float>>& out, std::size_t from, std::size_t count)
{
    double energy = 0.0;
    for (std::size_t t = from; t < from + count; ++t)
        energy += double(out.first[t]) * out.first[t] + double(out.second[t]) * out.second[t];
    return std::sqrt(energy / double(count));
}

} // namespace

TEST(KernelChainTest, BypassIsBitExactAndUndelayed)
{
    auto rig = rigWith(3, 0, 1.0f);
    set(*rig->adapter, kBypass, 0.3f);
    EXPECT_EQ(get(*rig->adapter, kBypass), 1.0f);
    const auto left = noise(20000, 1);
    const auto right = noise(20000, 2);
    rig->setInput(left, right);
    const auto [outLeft, outRight] = rig->renderAll(512);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);
}

TEST(KernelChainTest, MixZeroGivesTheInputDelayedAndScaledByTheOutputVolume)
{
    auto rig = rigWith(0, 0, 0.0f);
    set(*rig->adapter, kVolumeOut, 0.5f);
    const auto left = noise(20000, 3);
    const auto right = noise(20000, 4);
    rig->setInput(left, right);
    const auto [outLeft, outRight] = rig->renderAll(333);
    for (std::size_t t = 0; t < kDelay; ++t)
        ASSERT_EQ(outLeft[t], 0.0f) << t;
    for (std::size_t t = 0; t + kDelay < left.size(); ++t) {
        ASSERT_EQ(outLeft[t + kDelay], 0.5f * left[t]) << t;
        ASSERT_EQ(outRight[t + kDelay], 0.5f * right[t]) << t;
    }
}

TEST(KernelChainTest, AnImpulseComesOutOnceWhenWetAndDryLineUp)
{
    auto rig = rigWith(3, 0, 0.5f);
    std::vector<float> impulse(12000, 0.0f);
    impulse[100] = 1.0f;
    rig->setInput(impulse, impulse);
    const auto [outLeft, outRight] = rig->renderAll(256);
    // Wet: 1.5 from the overlap-add, lifted by the compander's near-silent gain of
    // almost 2 (rounding residue before the impulse raises its peak a few steps).
    const double wet = kOverlapGain * 2.0;
    EXPECT_NEAR(outLeft[100 + kDelay], 0.5 + 0.5 * wet, 0.01);
    EXPECT_NEAR(outRight[100 + kDelay], 0.5 + 0.5 * wet, 0.01);
    for (std::size_t t = 0; t < outLeft.size(); ++t) {
        if (t != 100 + kDelay) {
            ASSERT_LT(std::fabs(outLeft[t]), 1e-4f) << t;
        }
    }
}

TEST(KernelChainTest, OperationModeOutsideTheFourPassesTheWetShareUndelayed)
{
    auto rig = rigWith(5, 0, 1.0f);
    set(*rig->adapter, kVolumeIn, 0.5f);
    set(*rig->adapter, kVolumeOut, 0.5f);
    EXPECT_EQ(get(*rig->adapter, kOperationMode), 5.0f);
    // Opposite channels sum to 0, so the compander stays at its silent gain of 2.
    const auto left = noise(5000, 5);
    std::vector<float> right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i)
        right[i] = -left[i];
    rig->setInput(left, right);
    const auto [outLeft, outRight] = rig->renderAll(512);
    for (std::size_t t = 0; t < left.size(); ++t) {
        ASSERT_EQ(outLeft[t], 0.5f * left[t]) << t;
        ASSERT_EQ(outRight[t], 0.5f * right[t]) << t;
    }
}

TEST(KernelChainTest, AnyChannelCountOtherThanTwoPassesUnchanged)
{
    auto kernel = std::make_unique<ZUV_VELMORA_Quillmere_Extension_DSPKernel>();
    kernel->setParameter(rawValue(kMix), 1.0f);
    for (std::uint32_t channels : {1u, 3u}) {
        kernel->init(channels, kRate);
        std::vector<std::vector<float>> in;
        std::vector<std::vector<float>> out(channels, std::vector<float>(256, 9.0f));
        AudioBufferList inList;
        AudioBufferList outList;
        inList.mNumberBuffers = outList.mNumberBuffers = channels;
        for (std::uint32_t c = 0; c < channels; ++c) {
            in.push_back(noise(256, 10 + c));
            inList.mBuffers[c] = {1, 1024, in[c].data()};
            outList.mBuffers[c] = {1, 1024, out[c].data()};
        }
        kernel->setBuffers(&inList, &outList);
        kernel->processWithEvents(nullptr, 256, nullptr, nullptr);
        for (std::uint32_t c = 0; c < channels; ++c)
            EXPECT_EQ(out[c], in[c]) << channels << " channels, channel " << c;
    }
}

TEST(KernelChainTest, MidAndSideAreCodedAtUnity)
{
    const auto left = sine(440.0, kRate, 30000, 0.3);
    const auto right = noise(30000, 6, 0.2f);
    std::vector<std::vector<float>> results;
    for (float processingMode : {0.0f, 3.0f, 4.0f}) {
        auto rig = rigWith(3, processingMode, 1.0f);
        rig->setInput(left, right);
        auto [outLeft, outRight] = rig->renderAll(512);
        outLeft.insert(outLeft.end(), outRight.begin(), outRight.end());
        results.push_back(outLeft);
    }
    for (std::size_t i = 0; i < results[0].size(); ++i) {
        ASSERT_NEAR(results[1][i], results[0][i], 1e-4f) << i;
        ASSERT_NEAR(results[2][i], results[0][i], 1e-4f) << i;
    }
}

TEST(KernelChainTest, PitchShiftMovesASineByTheBandRatio)
{
    struct Case {
        float band;
        double expected;
    };
    for (const Case& c : {Case{0.25f, 220.0}, Case{0.5f, 440.0}, Case{0.75f, 990.0}, Case{0.9f, 1425.6}}) {
        auto rig = rigWith(0, 0, 1.0f);
        setAllBands(*rig->adapter, 0, c.band);
        const auto tone = sine(440.0, kRate, 40000, 0.25);
        rig->setInput(tone, tone);
        const auto [outLeft, outRight] = rig->renderAll(512);
        EXPECT_NEAR(peakFrequency(outLeft), c.expected, 1.0) << c.band;
        EXPECT_NEAR(peakFrequency(outRight), c.expected, 1.0) << c.band;
    }
}

TEST(KernelChainTest, PitchShiftByFourGathersEachSourceBinIntoFourOutputBins)
{
    auto rig = rigWith(0, 0, 1.0f);
    setAllBands(*rig->adapter, 0, 1.0f);
    const auto tone = sine(440.0, kRate, 40000, 0.25);
    rig->setInput(tone, tone);
    const auto [outLeft, outRight] = rig->renderAll(512);
    const double peak = peakFrequency(outLeft);
    EXPECT_NEAR(peak, 1760.0, 5.0 * 11.71875);
    EXPECT_LT(level(outLeft, 440.0), 0.01 * level(outLeft, peak));
}

TEST(KernelChainTest, NoteRangeSilencesOutsideNotesOnlyInHarmonicShiftAndFirstFilter)
{
    // 440 Hz is note 69, inside 60..72; 1000 Hz is note 83, outside.
    const auto input = sum(sine(440.0, kRate, 40000, 0.2), sine(1000.0, kRate, 40000, 0.2));
    for (float operationMode : {0.0f, 1.0f, 2.0f, 3.0f}) {
        auto rig = rigWith(operationMode, 0, 1.0f);
        set(*rig->adapter, kRangeLeft, 60.0f);
        set(*rig->adapter, kRangeRight, 72.0f);
        rig->setInput(input, input);
        const auto [outLeft, outRight] = rig->renderAll(512);
        if (operationMode == 1.0f || operationMode == 2.0f)
            EXPECT_LT(decibels(outLeft, 1000.0, 440.0), -30.0) << operationMode;
        else
            EXPECT_NEAR(decibels(outLeft, 1000.0, 440.0), 0.0, 1.0) << operationMode;
    }
}

TEST(KernelChainTest, ABandEditOutsideTheRangeStaysSilentWhateverTheOrder)
{
    const auto input = sum(sine(440.0, kRate, 40000, 0.2), sine(1000.0, kRate, 40000, 0.2));
    for (bool rangeFirst : {true, false}) {
        auto rig = rigWith(2, 0, 1.0f);
        auto setRange = [&] {
            set(*rig->adapter, kRangeLeft, 60.0f);
            set(*rig->adapter, kRangeRight, 72.0f);
        };
        if (rangeFirst)
            setRange();
        set(*rig->adapter, bandAddress(0, 83), 0.75f);
        if (!rangeFirst)
            setRange();
        EXPECT_EQ(get(*rig->adapter, bandAddress(0, 83)), 0.75f);
        rig->setInput(input, input);
        const auto [outLeft, outRight] = rig->renderAll(512);
        EXPECT_LT(decibels(outLeft, 1000.0, 440.0), -30.0) << (rangeFirst ? "range first" : "band first");
    }
}

TEST(KernelChainTest, EachProcessingModeFeedsItsOwnPairOfTables)
{
    const auto tone = sine(440.0, kRate, 40000, 0.2);
    auto rig = rigWith(3, 0, 1.0f);
    set(*rig->adapter, bandAddress(1, 69), 0.0f); // left table, not used in mode 0
    rig->setInput(tone, tone);
    auto [linkedLeft, linkedRight] = rig->renderAll(512);
    EXPECT_NEAR(level(linkedLeft, 440.0), level(linkedRight, 440.0), 1e-3);
    EXPECT_GT(level(linkedLeft, 440.0), 0.2);

    set(*rig->adapter, kProcessingMode, 1.0f);
    rig->adapter->reset();
    rig->setInput(tone, tone);
    auto [left, right] = rig->renderAll(512);
    EXPECT_LT(20.0 * std::log10(level(left, 440.0) / level(right, 440.0)), -30.0);
}

TEST(KernelChainTest, TheDisplaySeesTwiceTheWetRightChannel)
{
    const auto tone = sine(440.0, kRate, 40000, 0.3);
    const std::vector<float> silence(tone.size(), 0.0f);
    for (bool toneOnRight : {true, false}) {
        auto rig = rigWith(3, 0, 1.0f);
        rig->setInput(toneOnRight ? silence : tone, toneOnRight ? tone : silence);
        rig->renderAll(512);
        const float* magnitudes = rig->adapter->getChromaticMagnitutes();
        if (toneOnRight) {
            EXPECT_EQ(magnitudes[69], 1.0f);
            EXPECT_LT(magnitudes[60], 0.01f);
        } else {
            EXPECT_LT(magnitudes[69], 1e-3f);
        }
    }
}

// Half a second after one block of NaN and infinite input the output is
// whole again: finite, and as loud as without the block.
TEST(KernelChainTest, OneBlockOfNonFiniteInputLeavesNoTraceHalfASecondLater)
{
    constexpr std::size_t kBad = 4096;
    constexpr std::size_t kAfter = kBad + 512 + 24000;
    constexpr std::size_t kWindow = 4096;
    const auto left = sine(440.0, kRate, kAfter + kWindow, 0.5);
    const auto right = sine(660.0, kRate, kAfter + kWindow, 0.3);
    auto damaged = [](std::vector<float> samples) {
        for (std::size_t t = kBad; t < kBad + 512; ++t)
            samples[t] = t % 3 ? std::nanf("") : std::numeric_limits<float>::infinity();
        return samples;
    };
    const auto rms = [](const std::pair<std::vector<float>, std::vector<float>>& out) {
        return stereoRms(out, kAfter, kWindow);
    };
    for (const float operationMode : {0.0f, 1.0f, 2.0f, 3.0f}) {
        for (const float processingMode : {0.0f, 1.0f, 2.0f, 3.0f, 4.0f}) {
            auto clean = rigWith(operationMode, processingMode, 1.0f);
            auto hit = rigWith(operationMode, processingMode, 1.0f);
            clean->setInput(left, right);
            hit->setInput(damaged(left), damaged(right));
            const auto expected = rms(clean->renderAll(512));
            const auto out = hit->renderAll(512);
            const auto got = rms(out);
            EXPECT_TRUE(std::isfinite(got)) << operationMode << " " << processingMode;
            EXPECT_GT(expected, 0.05) << operationMode << " " << processingMode;
            EXPECT_NEAR(got / expected, 1.0, 0.01) << operationMode << " " << processingMode;
        }
    }
}

// A sample that is not finite is silence in the delayed dry share as in the
// wet one: at every mix only finite samples come out, and fully dry the output
// is the input 4096 frames late with silence in place of the bad samples.
TEST(KernelChainTest, NonFiniteInputIsSilenceInTheDryShareAtEveryMix)
{
    auto input = sine(440.0, kRate, 3 * kDelay, 0.5);
    const float bad[] = {std::nanf(""), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    for (std::size_t t = 1000; t < 1096; ++t)
        input[t] = bad[t % 3];
    for (const float mix : {0.0f, 0.5f, 1.0f}) {
        for (const float operationMode : {0.0f, 1.0f, 2.0f, 3.0f}) {
            for (const float processingMode : {0.0f, 1.0f, 2.0f, 3.0f, 4.0f}) {
                auto rig = rigWith(operationMode, processingMode, mix);
                rig->setInput(input, input);
                const auto [left, right] = rig->renderAll(512);
                for (std::size_t t = 0; t < left.size(); ++t) {
                    ASSERT_TRUE(std::isfinite(left[t]) && std::isfinite(right[t]))
                        << "mix " << mix << ", modes " << operationMode << " " << processingMode << ", frame " << t;
                    const float dry = t < kDelay || !std::isfinite(input[t - kDelay]) ? 0.0f : input[t - kDelay];
                    if (mix == 0.0f) {
                        ASSERT_EQ(left[t], dry) << operationMode << " " << processingMode << ", frame " << t;
                    }
                }
            }
        }
    }
}

// Finite samples at the top of the float range once overflowed the transform
// sums and left NaN output for 7168 frames in the left/right modes.
TEST(KernelChainTest, OneBlockAtTheTopOfTheFloatRangeGivesFiniteOutputAndLeavesNoTrace)
{
    constexpr float kTop = std::numeric_limits<float>::max();
    constexpr std::size_t kBad = 4096;
    constexpr std::size_t kAfter = kBad + 512 + 48000;
    constexpr std::size_t kWindow = 4096;
    const auto left = sine(440.0, kRate, kAfter + kWindow, 0.5);
    const auto right = sine(660.0, kRate, kAfter + kWindow, 0.3);
    using Damage = float (*)(std::size_t t, float sample, bool isLeft);
    struct Case {
        const char* name;
        Damage damage;
        float mix;
    };
    // Below a mix of 1 the block itself reaches the output in the delayed dry share.
    const Case cases[] = {
        {"all at the top", [](std::size_t, float, bool) { return kTop; }, 1.0f},
        {"all at the bottom", [](std::size_t, float, bool) { return -kTop; }, 0.3f},
        {"alternating, channels opposed",
         [](std::size_t t, float, bool isLeft) { return (t % 2 == 0) == isLeft ? kTop : -kTop; }, 1.0f},
        {"every third left sample among the signal",
         [](std::size_t t, float sample, bool isLeft) { return isLeft && t % 3 == 0 ? kTop : sample; }, 0.3f},
    };
    auto damaged = [](std::vector<float> samples, Damage damage, bool isLeft) {
        for (std::size_t t = kBad; t < kBad + 512; ++t)
            samples[t] = damage(t, samples[t], isLeft);
        return samples;
    };
    const auto rms = [](const std::pair<std::vector<float>, std::vector<float>>& out) {
        return stereoRms(out, kAfter, kWindow);
    };
    for (const float operationMode : {0.0f, 1.0f, 2.0f, 3.0f}) {
        for (const float processingMode : {0.0f, 1.0f, 2.0f, 3.0f, 4.0f}) {
            for (const Case& damage : cases) {
                SCOPED_TRACE(::testing::Message() << damage.name << ", modes " << operationMode << " "
                                                  << processingMode);
                auto clean = rigWith(operationMode, processingMode, damage.mix);
                auto hit = rigWith(operationMode, processingMode, damage.mix);
                clean->setInput(left, right);
                hit->setInput(damaged(left, damage.damage, true), damaged(right, damage.damage, false));
                const auto expected = rms(clean->renderAll(512));
                const auto out = hit->renderAll(512);
                std::size_t bad = 0;
                for (std::size_t t = 0; t < out.first.size(); ++t)
                    bad += !std::isfinite(out.first[t]) || !std::isfinite(out.second[t]);
                EXPECT_EQ(bad, 0u);
                const float* magnitudes = hit->adapter->getChromaticMagnitutes();
                EXPECT_TRUE(std::all_of(magnitudes, magnitudes + 128, [](float m) { return std::isfinite(m); }));
                EXPECT_GT(expected, 0.05);
                EXPECT_NEAR(rms(out) / expected, 1.0, 0.01);
            }
        }
    }
}

TEST(KernelParameterTest, AddressesDecodeAsTheTreeLaysThemOutAndOthersAreIgnored)
{
    auto kernel = std::make_unique<ZUV_VELMORA_Quillmere_Extension_DSPKernel>();
    kernel->setParameter(1500, 0.25f);
    EXPECT_EQ(kernel->getBands(0)[127], 0.25f);
    EXPECT_EQ(kernel->getParameter(1127), 0.25f);
    kernel->setParameter(5003, 0.75f);
    EXPECT_EQ(kernel->getBands(4)[3], 0.75f);
    kernel->setParameter(2005, 0.1f);
    EXPECT_EQ(kernel->getBands(1)[5], 0.1f);
    EXPECT_EQ(kernel->getBands(0)[5], 0.5f);

    for (AUParameterAddress ignored : {99u, 108u, 111u, 112u, 999u, 6000u, 7005u}) {
        kernel->setParameter(ignored, 0.9f);
        EXPECT_EQ(kernel->getParameter(ignored), 0.0f) << ignored;
    }
    const float* unknown = kernel->getBands(7);
    EXPECT_EQ(std::vector<float>(unknown, unknown + 128), std::vector<float>(128, 0.0f));
    EXPECT_EQ(kernel->getBands(-1), unknown);

    kernel->setMaximumFramesToRender(8192);
    EXPECT_EQ(kernel->getMaximumFramesToRender(), 4096);
}

TEST(KernelParameterTest, ValuesThatAreNotFiniteAreIgnored)
{
    auto rig = rigWith(0.0f, 0.0f, 1.0f);
    Adapter& adapter = *rig->adapter;
    for (const float bad : {NAN, INFINITY, -INFINITY}) {
        for (const AUParameterAddress address : {100u, 101u, 102u, 103u, 104u, 105u, 106u, 107u, 1060u, 4060u})
            set(adapter, address, bad);
    }
    EXPECT_EQ(get(adapter, kVolumeOut), 1.0f);
    EXPECT_EQ(get(adapter, kMix), 1.0f);
    EXPECT_EQ(get(adapter, kRangeRight), 127.0f);
    EXPECT_EQ(get(adapter, 1060), 0.5f);

    rig->setInput(sine(440.0, kRate, 12000, 0.5), sine(440.0, kRate, 12000, 0.5));
    const auto [left, right] = rig->renderAll(512);
    for (std::size_t i = 0; i < left.size(); ++i)
        ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
    EXPECT_GT(probe::level(left, 8192, 2048, kRate, 440.0), 0.01);
}

TEST(KernelMIDITest, ThruPassesEventsExceptRealTimeMessages)
{
    auto kernel = std::make_unique<ZUV_VELMORA_Quillmere_Extension_DSPKernel>();
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<AUEventSampleTime> times;
    const AUMIDIOutputEventBlock block = [&](AUEventSampleTime time, std::uint8_t cable, std::int64_t length,
                                             const std::uint8_t* bytes) {
        EXPECT_EQ(cable, 0);
        times.push_back(time);
        sent.emplace_back(bytes, bytes + length);
        return noErr;
    };
    auto midi = [](AUEventSampleTime time, std::uint16_t length, std::uint8_t first) {
        AURenderEvent event{};
        event.MIDI.eventType = AURenderEventType::midi;
        event.MIDI.eventSampleTime = time;
        event.MIDI.length = length;
        event.MIDI.cable = 3;
        event.MIDI.data[0] = first;
        event.MIDI.data[1] = 60;
        event.MIDI.data[2] = 100;
        return event;
    };
    std::vector<AURenderEvent> events{midi(2, 3, 0x90), midi(3, 1, 0xF8), midi(4, 1, 0xFC), midi(5, 0, 0xF8),
                                      midi(6, 9, 0x80)};
    for (std::size_t i = 0; i + 1 < events.size(); ++i)
        events[i].head.next = &events[i + 1];

    kernel->processWithEvents(nullptr, 16, events.data(), &block);
    EXPECT_TRUE(sent.empty()) << "thru is off after construction";

    kernel->setMIDIThru(true);
    kernel->processWithEvents(nullptr, 16, events.data(), &block);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], (std::vector<std::uint8_t>{0x90, 60, 100}));
    EXPECT_TRUE(sent[1].empty());
    EXPECT_EQ(sent[2], (std::vector<std::uint8_t>{0x80, 60, 100})) << "never more bytes than the record holds";
    EXPECT_EQ(times, (std::vector<AUEventSampleTime>{2, 5, 6}));
}
