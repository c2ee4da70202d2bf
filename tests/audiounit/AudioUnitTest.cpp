#include "AudioUnitTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "AudioUnitError.h"
#include "Console.h"
#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

using testing::ElementsAre;

TEST(AudioUnitTest, InitialiserAndMembersLogTheirExactLines)
{
    Console::Capture init;
    const auto unit = std::make_shared<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(
        kEffect, AudioComponentInstantiationOptions { AudioComponentInstantiationOptions::loadOutOfProcess });
    // The kernel's analysers announce themselves after the unit's own lines.
    const auto lines = init.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_THAT(std::vector(lines.begin(), lines.begin() + 3),
                ElementsAre("AUExtension::init()", "ZUNK : kbrw",
                            "AUExtension: We will prepare required resources now..."));
    AudioComponentDescription noType = kEffect;
    noType.componentType = 0;
    EXPECT_THROW(ZUV_VELMORA_Quillmere_Extension_AudioUnit failing(noType), AudioUnitError);

    Console::Capture capture;
    EXPECT_TRUE(unit->isMusicDeviceOrEffect());
    EXPECT_EQ(unit->virtualMIDICableCount(), 1);
    EXPECT_THAT(unit->MIDIOutputNames(), ElementsAre("ZUV VELMORA Quillmere MIDI Out"));
    EXPECT_TRUE(unit->canPerformInput() && unit->canPerformOutput() && unit->canProcessInPlace());
    EXPECT_THAT(unit->channelCapabilities(), ElementsAre(2, 2));
    EXPECT_TRUE(unit->supportedViewConfigurations({ { 400, 300, false } }).empty());
    EXPECT_TRUE(unit->parametersForOverview(5).empty());
    unit->setMIDIOutputEventBlock(nullptr);
    EXPECT_EQ(unit->MIDIOutputEventBlock(), nullptr);
    const auto inputs = unit->inputBusses();
    EXPECT_EQ(unit->inputBusses(), inputs);
    EXPECT_EQ((*inputs)[0]->format()->channelCount(), 2u);
    EXPECT_EQ(unit->outputBusses()->busType(), AUAudioUnitBusType::output);
    const auto tree = unit->parameterTree();
    unit->setParameterTree(AUParameterTree::createTree({}));
    unit->setChannelMap(std::vector { 1, 0 });
    EXPECT_EQ(unit->parameterTree(), tree);
    EXPECT_FALSE(unit->channelMap().has_value());
    unit->setShouldBypassEffect(true);
    EXPECT_TRUE(unit->shouldBypassEffect());
    EXPECT_EQ(unit->getParameter(100), 1.0f);
    EXPECT_THAT(capture.lines(),
                ElementsAre("AUExtension::isMusicDeviceOrEffect: true", "AUExtension::virtualMIDICableCount: 1",
                            "AUExtension::midiOutputNames: [\"ZUV VELMORA Quillmere MIDI Out\"]",
                            "AUExtension::canPerformInput: true", "AUExtension::canPerformOutput: true",
                            "AUExtension::canProcessInPlace() true", "AUExtension::channelCapabilities() [2, 2]",
                            "AUExtension::supportedViewConfigurations()", "AUExtension::parametersForOverview()",
                            "AUExtension::midiOutputEventBlock (set) ", "AUExtension::midiOutputEventBlock (get) ",
                            "AUExtension::inputBusses: 1", "AUExtension::inputBusses: 1",
                            "AUExtension::outputBusses: 1", "AUExtension::parameterTree (set) !!!",
                            "AUExtension::shouldBypassEffect (did set)"));
}

TEST(AudioUnitTest, AllocationLogsEachHostBlockInOrder)
{
    for (const bool withBlocks : { false, true }) {
        const auto unit = makeUnit();
        if (withBlocks) {
            unit->setMusicalContextBlock(
                [](double*, double*, std::int64_t*, double*, std::int64_t*, double*) { return true; });
            unit->setTransportStateBlock([](AUHostTransportStateFlags*, double*, double*, double*) { return true; });
            unit->setScheduleMIDIEventBlock([](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) {});
            unit->setMIDIOutputEventBlock(std::make_shared<const AUMIDIOutputEventBlock>(
                [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return noErr; }));
        }
        const auto line = [&](const char* name) {
            return withBlocks ? std::string("AUExtension: The property '") + name + "' is defined."
                              : std::string("AUExtension: WARNING: The property '") + name + "' is NOT defined.";
        };
        Console::Capture capture;
        unit->allocateRenderResources();
        EXPECT_THAT(capture.lines(),
                    ElementsAre("AUExtension::allocateRenderResources()", "AUExtension::outputBusses: 1",
                                line("musicalContextBlock"), line("transportStateBlock"),
                                line("scheduleMIDIEventBlock"), "AUExtension::midiOutputEventBlock (get) ",
                                line("midiOutputEventBlock"), "AUExtension::midiOutputEventBlock (get) "));
        StereoOutput output(256);
        EXPECT_EQ(output.render(unit->renderBlock(), 256), noErr);
    }
}

TEST(AudioUnitTest, DeallocatedUnitRefusesToRenderWithoutTheKernelLine)
{
    Console::Capture capture;
    {
        const auto unit = makeUnit();
        unit->allocateRenderResources();
        unit->reset();
        unit->deallocateRenderResources();
        StereoOutput output(64);
        EXPECT_EQ(output.render(unit->renderBlock(), 64), kAudioUnitErr_Uninitialized);
    }
    EXPECT_THAT(capture.lines(), testing::Contains("AUExtension::reset()"));
    EXPECT_THAT(capture.lines(), testing::Contains("AUExtension::deallocateRenderResources()"));
    EXPECT_THAT(capture.lines(), testing::Not(testing::Contains(testing::HasSubstr("ERROR"))));
}

TEST(AudioUnitTest, RendersASineEndToEndThroughTheRenderBlock)
{
    const auto unit = makeUnit();
    unit->allocateRenderResources();
    std::int64_t position = 0;
    const AURenderPullInputBlock pull = sinePull(2.0 * std::numbers::pi * 440.0 / 48000.0, position);
    std::vector<float> left;
    StereoOutput output(512);
    for (int cycle = 0; cycle < 40; ++cycle) {
        ASSERT_EQ(output.render(unit->renderBlock(), 512, pull), noErr);
        left.insert(left.end(), output.left.begin(), output.left.end());
    }
    // Past the spectral stage's 4096-sample delay the pitch shift at ratio 1
    // returns the sine at its own frequency: nearly all energy sits at 440 Hz.
    double sine = 0, cosine = 0, power = 0;
    for (std::size_t n = left.size() - 8192; n < left.size(); ++n) {
        const double phase = 2.0 * std::numbers::pi * 440.0 * static_cast<double>(n) / 48000.0;
        sine += left[n] * std::sin(phase);
        cosine += left[n] * std::cos(phase);
        power += double(left[n]) * left[n];
    }
    const double amplitude = 2.0 * std::hypot(sine, cosine) / 8192.0;
    EXPECT_GT(amplitude, 0.01);
    EXPECT_GT(amplitude, 0.9 * std::sqrt(2.0 * power / 8192.0));
}

// The kernel reads and writes a left and a right channel, at most the frames
// it was prepared for: allocation refuses any other arrangement, even over an
// earlier one, and a limit of 0; the limit holds while the unit is allocated.
TEST(AudioUnitTest, AllocationRefusesWhatTheKernelCannotRenderAndTheLimitHoldsWhileAllocated)
{
    const auto unit = makeUnit();
    const auto allocation = [&unit]() -> std::string {
        try {
            unit->allocateRenderResources();
            return "allocated";
        } catch (const AudioUnitError& error) {
            return std::to_string(error.code()) + " " + error.what();
        }
    };
    const auto mono = AVAudioFormat::standardFormat(48000.0, 1);
    const auto stereo = AVAudioFormat::standardFormat(48000.0, 2);
    for (const auto& [in, out] : { std::pair { stereo, stereo }, { mono, stereo }, { mono, mono }, { stereo, mono } }) {
        (*unit->inputBusses())[0]->setFormat(in);
        (*unit->outputBusses())[0]->setFormat(out);
        const bool stereoOnly = in == stereo && out == stereo;
        const std::string refusal = "-10868 The effect processes 2 channels in and 2 out; its buses carry "
            + std::to_string(in->channelCount()) + " in and " + std::to_string(out->channelCount()) + " out.";
        EXPECT_EQ(allocation(), stereoOnly ? "allocated" : refusal);
        EXPECT_EQ(unit->renderResourcesAllocated(), stereoOnly);
    }
    (*unit->outputBusses())[0]->setFormat(stereo);
    unit->setMaximumFramesToRender(0);
    EXPECT_EQ(allocation(), "-10875 The effect cannot prepare to render 0 frames at most; it needs 1 to 4096.");
    unit->setMaximumFramesToRender(512);
    EXPECT_EQ(allocation(), "allocated");
    unit->setMaximumFramesToRender(2048);
    EXPECT_EQ(unit->maximumFramesToRender(), 512u);
    std::int64_t position = 0;
    StereoOutput output(1024);
    EXPECT_EQ(output.render(unit->renderBlock(), 1024, sinePull(0.05, position)), kAudioUnitErr_TooManyFramesToProcess);
}

TEST(AudioUnitTest, FrameLimitIsClampedEnforcedAndKernelFailuresArePrinted)
{
    Console::Capture capture;
    {
        const auto unit = makeUnit();
        EXPECT_EQ(unit->maximumFramesToRender(), 4096u);
        unit->setMaximumFramesToRender(8192);
        EXPECT_EQ(unit->maximumFramesToRender(), 4096u);
        unit->setMaximumFramesToRender(256);
        unit->allocateRenderResources();
        StereoOutput output(257);
        EXPECT_EQ(output.render(unit->renderBlock(), 256), noErr);
        output.left.assign(257, 7.0f);
        EXPECT_EQ(output.render(unit->renderBlock(), 257), kAudioUnitErr_TooManyFramesToProcess);
        EXPECT_EQ(output.left[0], 7.0f);
        const AURenderPullInputBlock failing = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                                  AUAudioFrameCount, std::int64_t,
                                                  AudioBufferList*) { return kAudioUnitErr_NoConnection; };
        EXPECT_EQ(output.render(unit->renderBlock(), 64, failing), kAudioUnitErr_NoConnection);
    }
    // The render thread hands failures to the log's thread, which prints them by the time the unit is gone.
    const auto lines = capture.lines();
    EXPECT_THAT(lines, testing::Contains("AUExtension::maximumFramesToRender (set): 4096"));
    EXPECT_THAT(std::vector(lines.end() - 2, lines.end()),
                ElementsAre("AUExtension::ERROR: We have a problem with the kernel! -10874",
                            "AUExtension::ERROR: We have a problem with the kernel! -10876"));
}

TEST(AudioUnitTest, SetParameterTellsTheTreeOnlyOfNewValuesAndTheKernelAlways)
{
    const auto unit = makeUnit();
    std::vector<AUValue> heard;
    std::vector<AUValue> kernelDuringNotification;
    bool interfered = false;
    const auto tree = unit->parameterTree();
    const auto token = tree->tokenByAddingParameterObserver([&](AUParameterAddress address, AUValue value) {
        heard.push_back(value);
        kernelDuringNotification.push_back(unit->getParameter(static_cast<std::int32_t>(address)));
        if (address == 101 && !std::exchange(interfered, true))
            tree->parameterWithAddress(101)->setValue(0.9f);
    });
    unit->setParameter(1005, 0.25f);
    EXPECT_EQ(unit->getBands(0)[5], 0.25f);
    unit->setParameter(107, 1.0f);
    // The kernel stores a set bypass as 1.0, so 0.5 differs from what the tree reads every time.
    unit->setParameter(100, 0.5f);
    unit->setParameter(100, 0.5f);
    EXPECT_EQ(unit->getParameter(100), 1.0f);
    // The kernel gets the value again after the tree, so a change made while notifying is overridden.
    unit->setParameter(101, 0.3f);
    EXPECT_EQ(unit->getParameter(101), 0.3f);
    for (const std::int32_t address : { 6002, 112, 99, -1, -5000 }) {
        unit->setParameter(address, 0.75f);
        EXPECT_EQ(unit->getParameter(address), 0.0f) << address;
    }
    unit->onFoundParameter(0, "kMix", 6000, 0.1f);
    unit->onFoundParameter(3, "ignored", 4010, 0.125f);
    EXPECT_EQ(unit->getBands(3)[10], 0.125f);
    tree->removeParameterObserver(token);
    EXPECT_THAT(heard, ElementsAre(0.25f, 0.5f, 0.5f, 0.3f, 0.9f, 0.125f));
    EXPECT_THAT(kernelDuringNotification, ElementsAre(0.25f, 1.0f, 1.0f, 0.3f, 0.9f, 0.125f));
}

TEST(AudioUnitTest, ValuesFromOutsideReachTheKernelHeldToTheirParametersRange)
{
    const auto unit = makeUnit();
    const auto tree = unit->parameterTree();
    std::vector<AUValue> heard;
    const auto token
        = tree->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue value) { heard.push_back(value); });
    tree->parameterWithAddress(101)->setValue(1e30f);
    unit->setParameter(1069, -5.0f);
    unit->setParameter(104, 7.5f);
    unit->onFoundParameter(0, "kRangeRight", 106, 1000.0f);
    unit->setFullState(PropertyListValue::Dictionary { { "group 0",
        PropertyListValue::Dictionary { { "param 0",
            PropertyListValue::Dictionary { { "address", 5000 }, { "value", 1e20 } } } } } });
    tree->removeParameterObserver(token);
    EXPECT_EQ(unit->getParameter(101), 1.0f);
    EXPECT_EQ(unit->getParameter(1069), 0.0f);
    EXPECT_EQ(unit->getParameter(104), 3.0f);
    EXPECT_EQ(unit->getParameter(106), 127.0f);
    EXPECT_EQ(unit->getParameter(5000), 1.0f);
    // The tree's own observers hear what the caller set; the unit's ways in tell them the held value.
    EXPECT_THAT(heard, ElementsAre(1e30f, 0.0f, 3.0f, 127.0f, 1.0f));

    // Render events: held likewise; an address the tree does not publish, and
    // a value that is not finite, change nothing.
    unit->allocateRenderResources();
    std::vector<AURenderEvent> events(5);
    const std::pair<AUParameterAddress, AUValue> sent[] = {
        { 102, -1.0f }, { 2005, 40.0f }, { 1500, 0.25f }, { 103, std::nanf("") }, { 107, -INFINITY } };
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].parameter = { i + 1 < events.size() ? &events[i + 1] : nullptr, 0, AURenderEventType::parameter, {},
            0, sent[i].first, sent[i].second };
    }
    std::int64_t position = 0;
    StereoOutput output(64);
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp timestamp;
    ASSERT_EQ(unit->kernelAdapter()->render(&flags, &timestamp, 64, 0, &output.list, events.data(),
                  sinePull(0.1, position)),
        noErr);
    EXPECT_EQ(unit->getParameter(102), 0.0f);
    EXPECT_EQ(unit->getParameter(2005), 1.0f);
    EXPECT_EQ(unit->getParameter(1127), 0.5f);
    EXPECT_EQ(unit->getParameter(103), 0.0f);
    EXPECT_EQ(unit->getParameter(107), 1.0f);
}

TEST(AudioUnitTest, TablesAndFrequenciesOutOfRangeAreEmpty)
{
    const auto unit = makeUnit();
    for (const std::int64_t kind : { std::int64_t { 5 }, std::int64_t { -1 }, std::int64_t { 1 } << 40 })
        for (int note = 0; note < 128; ++note)
            ASSERT_EQ(unit->getBands(kind)[note], 0.0f) << kind;
    EXPECT_EQ(unit->getBands(4)[127], 0.5f);
    EXPECT_NEAR(unit->getChromaticFrequency(69), 440.0f, 0.01f);
    EXPECT_EQ(unit->getChromaticFrequency(std::int64_t { 1 } << 40), 1.0f);
    EXPECT_EQ(unit->getChromaticFrequency(-1000), 1.0f);
}

TEST(AudioUnitTest, DumpParametersIndentsByDepth)
{
    const auto unit = makeUnit();
    const auto parameter = [](const char* name) {
        return AUParameterTree::createParameter(name, name, 1, 0, 1, AudioUnitParameterUnit::generic, std::nullopt,
                                                0, std::nullopt);
    };
    const auto tree = AUParameterTree::createTree(
        { parameter("Alpha"), AUParameterTree::createGroup("inner", "Inner", { parameter("Gamma") }) });
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
        kernelAdapter()->setMIDIThru(true);
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
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp timestamp;
    StereoOutput output(64);
    ASSERT_EQ(block(&flags, &timestamp, 64, 0, &output.list, &noteOn, nullptr), noErr);
}

std::shared_ptr<const AUMIDIOutputEventBlock> countingBlock(int& calls)
{
    return std::make_shared<const AUMIDIOutputEventBlock>(
        [&calls](AUEventSampleTime, std::uint8_t, std::int64_t length, const std::uint8_t* bytes) {
            calls += length == 3 && bytes[0] == 0x90;
            return noErr;
        });
}

} // namespace

TEST(AudioUnitTest, RenderBlockHandsTheMIDIOutputBlockOfItsReadOnEveryCall)
{
    PlatformView unit;
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
}

TEST(AudioUnitTest, AllocationWithoutAHostBlockKeepsTheKernelsEarlierOne)
{
    PlatformView unit;
    int calls = 0;
    unit.setMIDIOutputEventBlock(countingBlock(calls));
    unit.allocateRenderResources();
    unit.setMIDIOutputEventBlock(nullptr);
    unit.allocateRenderResources();
    renderNoteOn(unit.internalRenderBlock());
    EXPECT_EQ(calls, 1);
}
