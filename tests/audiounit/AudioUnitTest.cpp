#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "AudioUnitError.h"
#include "Console.h"
#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

namespace {

using testing::ElementsAre;

constexpr AudioComponentDescription kEffect { 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 };

std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> makeUnit(AudioComponentInstantiationOptions options = {})
{
    return std::make_shared<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(kEffect, options);
}

// A stereo sine of the given frequency that the host hands the unit as its input.
class SineSource {
public:
    explicit SineSource(double frequency)
        : frequency_(frequency)
    {
    }

    AURenderPullInputBlock pullBlock()
    {
        return [this](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount frames, std::int64_t,
                      AudioBufferList* list) {
            for (AUAudioFrameCount frame = 0; frame < frames; ++frame) {
                const float sample = static_cast<float>(
                    0.5 * std::sin(2.0 * std::numbers::pi * frequency_ * (position_ + frame) / 48000.0));
                for (std::uint32_t channel = 0; channel < list->mNumberBuffers; ++channel)
                    static_cast<float*>(list->mBuffers[channel].mData)[frame] = sample;
            }
            position_ += frames;
            return noErr;
        };
    }

private:
    double frequency_;
    std::int64_t position_ = 0;
};

struct StereoOutput {
    explicit StereoOutput(AUAudioFrameCount frames)
        : left(frames)
        , right(frames)
    {
        list.mNumberBuffers = 2;
        list.mBuffers[0] = { 1, static_cast<std::uint32_t>(frames * sizeof(float)), left.data() };
        list.mBuffers[1] = { 1, static_cast<std::uint32_t>(frames * sizeof(float)), right.data() };
    }

    std::vector<float> left;
    std::vector<float> right;
    AudioBufferList list;
};

AUAudioUnitStatus renderCycle(const AURenderBlock& block, StereoOutput& output, AUAudioFrameCount frames,
                              const AURenderPullInputBlock& pull)
{
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp timestamp;
    return block(&flags, &timestamp, frames, 0, &output.list, pull);
}

// Amplitude of the component at frequency in samples, by correlation with a
// sine and a cosine in double precision.
double amplitudeAt(const std::vector<float>& samples, double frequency)
{
    double sine = 0.0;
    double cosine = 0.0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(n) / 48000.0;
        sine += samples[n] * std::sin(phase);
        cosine += samples[n] * std::cos(phase);
    }
    return 2.0 * std::hypot(sine, cosine) / static_cast<double>(samples.size());
}

double rms(const std::vector<float>& samples)
{
    double sum = 0.0;
    for (const float sample : samples)
        sum += static_cast<double>(sample) * sample;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

} // namespace

TEST(AudioUnitTest, InitialiserLogsTheComponentAndIgnoresTheOptions)
{
    for (const auto options :
         { AudioComponentInstantiationOptions {},
           AudioComponentInstantiationOptions { AudioComponentInstantiationOptions::loadOutOfProcess } }) {
        Console::Capture capture;
        const auto unit = makeUnit(options);
        // The kernel's analysers announce themselves after the unit's own lines.
        const auto lines = capture.lines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_THAT(std::vector(lines.begin(), lines.begin() + 3),
                    ElementsAre("AUExtension::init()", "ZUNK : kbrw",
                                "AUExtension: We will prepare required resources now..."));
        for (auto line = lines.begin() + 3; line != lines.end(); ++line)
            EXPECT_THAT(*line, testing::StartsWith("DIAGNOSTICS: FFT Analyzer loaded."));
        EXPECT_EQ(unit->componentDescription(), kEffect);
        EXPECT_EQ(unit->parameterTree()->allParameters().size(), 652u);
        EXPECT_EQ(unit->getParameter(107), 1.0f);
    }
}

TEST(AudioUnitTest, InitialiserThrowsTheBaseError)
{
    Console::Capture capture;
    AudioComponentDescription noType = kEffect;
    noType.componentType = 0;
    EXPECT_THROW(ZUV_VELMORA_Quillmere_Extension_AudioUnit unit(noType), AudioUnitError);
}

TEST(AudioUnitTest, CapabilitiesAndTheirLogLines)
{
    const auto unit = makeUnit();
    Console::Capture capture;
    EXPECT_TRUE(unit->isMusicDeviceOrEffect());
    EXPECT_EQ(unit->virtualMIDICableCount(), 1);
    EXPECT_THAT(unit->MIDIOutputNames(), ElementsAre("ZUV VELMORA Quillmere MIDI Out"));
    EXPECT_TRUE(unit->canPerformInput());
    EXPECT_TRUE(unit->canPerformOutput());
    EXPECT_TRUE(unit->canProcessInPlace());
    EXPECT_THAT(unit->channelCapabilities(), ElementsAre(2, 2));
    EXPECT_TRUE(unit->supportedViewConfigurations({ { 400, 300, false }, { 800, 600, true } }).empty());
    EXPECT_TRUE(unit->parametersForOverview(5).empty());
    unit->setMIDIOutputEventBlock(nullptr);
    EXPECT_EQ(unit->MIDIOutputEventBlock(), nullptr);
    EXPECT_THAT(capture.lines(),
                ElementsAre("AUExtension::isMusicDeviceOrEffect: true", "AUExtension::virtualMIDICableCount: 1",
                            "AUExtension::midiOutputNames: [\"ZUV VELMORA Quillmere MIDI Out\"]",
                            "AUExtension::canPerformInput: true", "AUExtension::canPerformOutput: true",
                            "AUExtension::canProcessInPlace() true", "AUExtension::channelCapabilities() [2, 2]",
                            "AUExtension::supportedViewConfigurations()", "AUExtension::parametersForOverview()",
                            "AUExtension::midiOutputEventBlock (set) ", "AUExtension::midiOutputEventBlock (get) "));
}

TEST(AudioUnitTest, BussesAreOneStereoBusEachInTheSameArray)
{
    const auto unit = makeUnit();
    Console::Capture capture;
    const auto inputs = unit->inputBusses();
    const auto outputs = unit->outputBusses();
    EXPECT_EQ(unit->inputBusses(), inputs);
    EXPECT_EQ(unit->outputBusses(), outputs);
    ASSERT_EQ(inputs->count(), 1u);
    ASSERT_EQ(outputs->count(), 1u);
    EXPECT_EQ(inputs->busType(), AUAudioUnitBusType::input);
    EXPECT_EQ(outputs->busType(), AUAudioUnitBusType::output);
    EXPECT_EQ((*inputs)[0]->format()->channelCount(), 2u);
    EXPECT_EQ((*outputs)[0]->format()->sampleRate(), 48000.0);
    EXPECT_THAT(capture.lines(),
                ElementsAre("AUExtension::inputBusses: 1", "AUExtension::outputBusses: 1",
                            "AUExtension::inputBusses: 1", "AUExtension::outputBusses: 1"));
}

TEST(AudioUnitTest, TreeAndChannelMapCannotBeReplaced)
{
    const auto unit = makeUnit();
    const auto tree = unit->parameterTree();
    Console::Capture capture;
    unit->setParameterTree(AUParameterTree::createTree({}));
    unit->setChannelMap(std::vector { 1, 0 });
    EXPECT_EQ(unit->parameterTree(), tree);
    EXPECT_FALSE(unit->channelMap().has_value());
    EXPECT_THAT(capture.lines(), ElementsAre("AUExtension::parameterTree (set) !!!"));
}

TEST(AudioUnitTest, AllocationWithoutHostBlocksWarnsForEachAndStillRenders)
{
    const auto unit = makeUnit();
    Console::Capture capture;
    unit->allocateRenderResources();
    EXPECT_THAT(capture.lines(),
                ElementsAre("AUExtension::allocateRenderResources()", "AUExtension::outputBusses: 1",
                            "AUExtension: WARNING: The property 'musicalContextBlock' is NOT defined.",
                            "AUExtension: WARNING: The property 'transportStateBlock' is NOT defined.",
                            "AUExtension: WARNING: The property 'scheduleMIDIEventBlock' is NOT defined.",
                            "AUExtension::midiOutputEventBlock (get) ",
                            "AUExtension: WARNING: The property 'midiOutputEventBlock' is NOT defined.",
                            "AUExtension::midiOutputEventBlock (get) "));
    EXPECT_TRUE((*unit->outputBusses())[0]->shouldAllocateBuffer());
    StereoOutput output(256);
    EXPECT_EQ(renderCycle(unit->renderBlock(), output, 256, nullptr), noErr);
}

TEST(AudioUnitTest, AllocationWithEveryHostBlockForwardsThemAll)
{
    const auto unit = makeUnit();
    unit->setMusicalContextBlock([](double*, double*, std::int64_t*, double*, std::int64_t*, double*) { return true; });
    unit->setTransportStateBlock([](AUHostTransportStateFlags*, double*, double*, double*) { return true; });
    unit->setScheduleMIDIEventBlock([](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) {});
    unit->setMIDIOutputEventBlock(std::make_shared<const AUMIDIOutputEventBlock>(
        [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return noErr; }));
    Console::Capture capture;
    unit->allocateRenderResources();
    EXPECT_THAT(capture.lines(),
                ElementsAre("AUExtension::allocateRenderResources()", "AUExtension::outputBusses: 1",
                            "AUExtension: The property 'musicalContextBlock' is defined.",
                            "AUExtension: The property 'transportStateBlock' is defined.",
                            "AUExtension: The property 'scheduleMIDIEventBlock' is defined.",
                            "AUExtension::midiOutputEventBlock (get) ",
                            "AUExtension: The property 'midiOutputEventBlock' is defined.",
                            "AUExtension::midiOutputEventBlock (get) "));
}

TEST(AudioUnitTest, DeallocationAndResetReachTheKernel)
{
    Console::Capture capture;
    {
        const auto unit = makeUnit();
        unit->allocateRenderResources();
        Console::Capture own;
        unit->reset();
        unit->deallocateRenderResources();
        EXPECT_THAT(own.lines(), ElementsAre("AUExtension::reset()", "AUExtension::deallocateRenderResources()"));
        // The base refuses before the unit's render block runs, so nothing is logged for it.
        StereoOutput output(64);
        EXPECT_EQ(renderCycle(unit->renderBlock(), output, 64, nullptr), kAudioUnitErr_Uninitialized);
    }
    EXPECT_THAT(capture.lines(), testing::Not(testing::Contains(testing::HasSubstr("ERROR"))));
}

TEST(AudioUnitTest, RendersASineEndToEndThroughTheRenderBlock)
{
    const auto unit = makeUnit();
    unit->allocateRenderResources();
    const AURenderBlock block = unit->renderBlock();
    SineSource source(440.0);
    const AURenderPullInputBlock pull = source.pullBlock();
    std::vector<float> left;
    StereoOutput output(512);
    for (int cycle = 0; cycle < 40; ++cycle) {
        ASSERT_EQ(renderCycle(block, output, 512, pull), noErr);
        left.insert(left.end(), output.left.begin(), output.left.end());
    }
    // The spectral stage delays by 4096 samples; past that the pitch-shift mode at
    // ratio 1 returns the sine at its own frequency.
    const std::vector<float> steady(left.end() - 8192, left.end());
    const double amplitude = amplitudeAt(steady, 440.0);
    EXPECT_GT(amplitude, 0.01);
    EXPECT_GT(amplitude, 0.9 * std::sqrt(2.0) * rms(steady));
}

TEST(AudioUnitTest, FrameLimitIsClampedToTheKernelAndEnforced)
{
    const auto unit = makeUnit();
    EXPECT_EQ(unit->maximumFramesToRender(), 4096u);
    {
        Console::Capture capture;
        unit->setMaximumFramesToRender(8192);
        EXPECT_THAT(capture.lines(), ElementsAre("AUExtension::maximumFramesToRender (set): 4096"));
    }
    EXPECT_EQ(unit->maximumFramesToRender(), 4096u);
    unit->setMaximumFramesToRender(256);
    unit->allocateRenderResources();
    const AURenderBlock block = unit->renderBlock();
    StereoOutput output(257);
    EXPECT_EQ(renderCycle(block, output, 256, nullptr), noErr);

    Console::Capture capture;
    output.left.assign(257, 7.0f);
    EXPECT_EQ(renderCycle(block, output, 257, nullptr), kAudioUnitErr_TooManyFramesToProcess);
    EXPECT_EQ(output.left[0], 7.0f);
}

TEST(AudioUnitTest, KernelFailuresArePrintedOffTheRenderThread)
{
    Console::Capture capture;
    {
        const auto unit = makeUnit();
        unit->allocateRenderResources();
        StereoOutput output(4097);
        const AURenderPullInputBlock failing
            = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount, std::int64_t,
                 AudioBufferList*) { return kAudioUnitErr_NoConnection; };
        EXPECT_EQ(renderCycle(unit->renderBlock(), output, 4097, nullptr), kAudioUnitErr_TooManyFramesToProcess);
        EXPECT_EQ(renderCycle(unit->renderBlock(), output, 64, failing), kAudioUnitErr_NoConnection);
    }
    const auto lines = capture.lines();
    const std::vector<std::string> errors(lines.end() - 2, lines.end());
    EXPECT_THAT(errors,
                ElementsAre("AUExtension::ERROR: We have a problem with the kernel! -10874",
                            "AUExtension::ERROR: We have a problem with the kernel! -10876"));
}

TEST(AudioUnitTest, BypassGoesToTheKernelAndStaysInTheBase)
{
    const auto unit = makeUnit();
    Console::Capture capture;
    unit->setShouldBypassEffect(true);
    EXPECT_TRUE(unit->shouldBypassEffect());
    EXPECT_EQ(unit->getParameter(100), 1.0f);
    unit->setShouldBypassEffect(false);
    EXPECT_EQ(unit->getParameter(100), 0.0f);
    EXPECT_THAT(capture.lines(),
                ElementsAre("AUExtension::shouldBypassEffect (did set)", "AUExtension::shouldBypassEffect (did set)"));
}

namespace {

// Counts the tree's notifications and notes what the kernel held while each ran.
struct TreeWatch {
    explicit TreeWatch(ZUV_VELMORA_Quillmere_Extension_AudioUnit& unit)
        : tree(unit.parameterTree())
    {
        token = tree->tokenByAddingParameterObserver([this, &unit](AUParameterAddress address, AUValue value) {
            heard.push_back(value);
            kernelDuringNotification.push_back(unit.getParameter(static_cast<std::int32_t>(address)));
        });
    }
    ~TreeWatch() { tree->removeParameterObserver(token); }

    std::shared_ptr<AUParameterTree> tree;
    AUParameterObserverToken token;
    std::vector<AUValue> heard;
    std::vector<AUValue> kernelDuringNotification;
};

} // namespace

TEST(AudioUnitTest, SetParameterWithANewValueTellsTheTreeThenTheKernel)
{
    const auto unit = makeUnit();
    TreeWatch watch(*unit);
    unit->setParameter(1005, 0.25f);
    EXPECT_THAT(watch.heard, ElementsAre(0.25f));
    EXPECT_THAT(watch.kernelDuringNotification, ElementsAre(0.25f));
    EXPECT_EQ(unit->getParameter(1005), 0.25f);
    EXPECT_EQ(unit->getBands(0)[5], 0.25f);
}

TEST(AudioUnitTest, SetParameterWithTheHeldValueGoesToTheKernelAlone)
{
    const auto unit = makeUnit();
    TreeWatch watch(*unit);
    unit->setParameter(107, 1.0f);
    EXPECT_TRUE(watch.heard.empty());
    EXPECT_EQ(unit->getParameter(107), 1.0f);

    // The kernel stores a set bypass as 1.0, so 0.5 differs from what the tree reads every time.
    unit->setParameter(100, 0.5f);
    unit->setParameter(100, 0.5f);
    EXPECT_THAT(watch.heard, ElementsAre(0.5f, 0.5f));
    EXPECT_EQ(unit->getParameter(100), 1.0f);
}

TEST(AudioUnitTest, SetParameterOverridesAKernelChangeMadeDuringTheNotification)
{
    const auto unit = makeUnit();
    bool interfered = false;
    const auto token = unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) {
        if (!std::exchange(interfered, true))
            unit->parameterTree()->parameterWithAddress(101)->setValue(0.9f);
    });
    unit->setParameter(101, 0.3f);
    unit->parameterTree()->removeParameterObserver(token);
    EXPECT_EQ(unit->getParameter(101), 0.3f);
}

TEST(AudioUnitTest, AddressesOutsideTheTreeDoNothing)
{
    const auto unit = makeUnit();
    TreeWatch watch(*unit);
    for (const std::int32_t address : { 6002, 112, 99, -1, -5000 }) {
        unit->setParameter(address, 0.75f);
        EXPECT_EQ(unit->getParameter(address), 0.0f) << address;
    }
    EXPECT_TRUE(watch.heard.empty());
    unit->onFoundParameter(0, "kMix", 6000, 0.1f);
    EXPECT_TRUE(watch.heard.empty());
}

TEST(AudioUnitTest, FoundPresetParametersAreOrdinaryTreeChanges)
{
    const auto unit = makeUnit();
    TreeWatch watch(*unit);
    unit->onFoundParameter(3, "ignored", 4010, 0.125f);
    EXPECT_THAT(watch.heard, ElementsAre(0.125f));
    EXPECT_EQ(unit->getBands(3)[10], 0.125f);
}

TEST(AudioUnitTest, TablesAndMetersComeFromTheKernel)
{
    const auto unit = makeUnit();
    for (const std::int64_t kind : std::initializer_list<std::int64_t> { 5, 7, -1, std::int64_t { 1 } << 40 }) {
        const float* table = unit->getBands(kind);
        for (int note = 0; note < 128; ++note)
            ASSERT_EQ(table[note], 0.0f) << kind;
    }
    EXPECT_EQ(unit->getBands(4), unit->getBands(4));
    EXPECT_EQ(unit->getBands(4)[127], 0.5f);
    EXPECT_EQ(unit->getAnalysisSize(), 4096);
    EXPECT_NEAR(unit->getFrequencies()[69], 440.0f, 0.01f);
    EXPECT_NEAR(unit->getChromaticFrequency(69), 440.0f, 0.01f);
    EXPECT_EQ(unit->getChromaticFrequency(std::int64_t { 1 } << 40), 1.0f);
    EXPECT_EQ(unit->getChromaticFrequency(-1000), 1.0f);
    EXPECT_NE(unit->getChromaticMagnitudes(), nullptr);
    EXPECT_EQ(unit->getPeakInput(), 0.0f);
    EXPECT_EQ(unit->getPeakOutput(), 0.0f);
}

TEST(AudioUnitTest, DumpParametersIndentsByDepth)
{
    const auto unit = makeUnit();
    const auto inner = AUParameterTree::createGroup(
        "inner", "Inner",
        { AUParameterTree::createParameter("c", "Gamma", 3, 0, 1, AudioUnitParameterUnit::generic, std::nullopt, 0,
                                           std::nullopt) });
    const auto tree = AUParameterTree::createTree(
        { AUParameterTree::createParameter("a", "Alpha", 1, 0, 1, AudioUnitParameterUnit::generic, std::nullopt, 0,
                                           std::nullopt),
          inner });
    Console::Capture capture;
    unit->dumpParameters("tree", tree.get(), 1);
    unit->dumpParameters("none", nullptr, 0);
    EXPECT_THAT(capture.lines(), ElementsAre(" Alpha", " Inner", "  Gamma"));
}

namespace {

// Reads the unit's internal render block the way the platform does.
class PlatformView : public ZUV_VELMORA_Quillmere_Extension_AudioUnit {
public:
    PlatformView()
        : ZUV_VELMORA_Quillmere_Extension_AudioUnit(kEffect)
    {
    }
    using ZUV_VELMORA_Quillmere_Extension_AudioUnit::internalRenderBlock;
};

// Renders one cycle carrying a note-on, which the kernel's MIDI thru sends to
// whatever MIDI output block it holds.
void renderNoteOn(const AUInternalRenderBlock& block)
{
    AURenderEvent noteOn {};
    noteOn.MIDI.eventType = AURenderEventType::midi;
    noteOn.MIDI.length = 3;
    noteOn.MIDI.data[0] = 0x90;
    noteOn.MIDI.data[1] = 60;
    noteOn.MIDI.data[2] = 100;
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp timestamp;
    StereoOutput output(64);
    ASSERT_EQ(block(&flags, &timestamp, 64, 0, &output.list, &noteOn, nullptr), noErr);
}

std::shared_ptr<const AUMIDIOutputEventBlock> countingBlock(int& calls)
{
    return std::make_shared<const AUMIDIOutputEventBlock>(
        [&calls](AUEventSampleTime, std::uint8_t, std::int64_t length, const std::uint8_t* bytes) {
            if (length == 3 && bytes[0] == 0x90)
                ++calls;
            return noErr;
        });
}

} // namespace

TEST(AudioUnitTest, RenderBlockHandsTheMIDIOutputBlockOfItsReadOnEveryCall)
{
    PlatformView unit;
    unit.kernelAdapter()->setMIDIThru(true);
    unit.allocateRenderResources();
    const AUInternalRenderBlock readBefore = unit.internalRenderBlock();
    int first = 0;
    int second = 0;
    unit.setMIDIOutputEventBlock(countingBlock(first));
    const AUInternalRenderBlock readAfter = unit.internalRenderBlock();

    renderNoteOn(readBefore);
    EXPECT_EQ(first, 0);
    renderNoteOn(readAfter);
    EXPECT_EQ(first, 1);

    // A new allocation gives the kernel the host's new block; the block read
    // earlier hands its own back on its next call.
    unit.setMIDIOutputEventBlock(countingBlock(second));
    unit.allocateRenderResources();
    renderNoteOn(readAfter);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 0);
    renderNoteOn(readBefore);
    EXPECT_EQ(first, 3);
}

TEST(AudioUnitTest, AllocationWithoutAHostBlockKeepsTheKernelsEarlierOne)
{
    PlatformView unit;
    unit.kernelAdapter()->setMIDIThru(true);
    int calls = 0;
    unit.setMIDIOutputEventBlock(countingBlock(calls));
    unit.allocateRenderResources();
    unit.setMIDIOutputEventBlock(nullptr);
    {
        Console::Capture capture;
        unit.allocateRenderResources();
        EXPECT_THAT(capture.lines(),
                    testing::Contains("AUExtension: WARNING: The property 'midiOutputEventBlock' is NOT defined."));
    }
    renderNoteOn(unit.internalRenderBlock());
    EXPECT_EQ(calls, 1);
}
