#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DSPKernel.h"
#include "KernelRig.h"

using kernel_rig::chain;
using kernel_rig::parameterEvent;

namespace {

struct Segment {
    AUAudioFrameCount frames;
    AUAudioFrameCount offset;
    float value;
    bool operator==(const Segment&) const = default;
};

// Records every segment with the parameter value in force, and every call.
class RecordingKernel : public DSPKernel {
public:
    std::vector<Segment> segments;
    std::vector<std::string> calls;
    float value = 0.0f;
    const AUMIDIOutputEventBlock* midiDuringEvent = nullptr;

    const AUMIDIOutputEventBlock* currentMidiOut() const { return midiOut; }

    void run(double sampleTime, AUAudioFrameCount frames, std::vector<AURenderEvent> events)
    {
        chain(events);
        AudioTimeStamp stamp;
        stamp.mSampleTime = sampleTime;
        stamp.mFlags = kAudioTimeStampSampleTimeValid;
        processWithEvents(&stamp, frames, events.data(), nullptr);
    }

protected:
    void process(AUAudioFrameCount frames, AUAudioFrameCount offset) override
    {
        segments.push_back({frames, offset, value});
    }
    void setParameterAutomated(AUParameterAddress address, AUValue v, AUEventSampleTime time) override
    {
        value = v;
        calls.push_back("param " + std::to_string(address) + "@" + std::to_string(time));
    }
    void handleMIDIEvent(const AUMIDIEvent& event) override
    {
        midiDuringEvent = midiOut;
        calls.push_back("midi " + std::to_string(event.data[0]));
    }
};

AURenderEvent midiEvent(std::uint8_t status, AURenderEventType type = AURenderEventType::midi)
{
    AURenderEvent event{};
    event.MIDI.eventType = type;
    event.MIDI.length = 3;
    event.MIDI.data[0] = status;
    return event;
}

} // namespace

TEST(DSPKernelTest, SplitsTheCycleAtEachEventsOwnSample)
{
    RecordingKernel kernel;
    kernel.run(1000.0, 128, {parameterEvent(1030, 107, 0.5f), parameterEvent(1100, 107, 0.25f)});
    EXPECT_EQ(kernel.segments, (std::vector<Segment>{{30, 0, 0.0f}, {70, 30, 0.5f}, {28, 100, 0.25f}}));
}

TEST(DSPKernelTest, EventsOfOneTimeApplyInListOrderAndEarlyEventsBeforeTheFirstFrame)
{
    RecordingKernel kernel;
    kernel.run(500.9, 64, // truncated to 500
               {parameterEvent(10, 101, 1.0f), parameterEvent(500, 102, 2.0f),
                parameterEvent(500, 103, 3.0f, AURenderEventType::parameterRamp), parameterEvent(512, 104, 4.0f)});
    EXPECT_EQ(kernel.calls, (std::vector<std::string>{"param 101@10", "param 102@500", "param 103@500",
                                                      "param 104@512"}));
    EXPECT_EQ(kernel.segments, (std::vector<Segment>{{12, 0, 3.0f}, {52, 12, 4.0f}}))
        << "the ramp's target takes effect at its start";
}

TEST(DSPKernelTest, AnEventAfterTheCycleNeverOverrunsItAndOneAtItsEndApplies)
{
    RecordingKernel kernel;
    kernel.run(0.0, 64, {parameterEvent(64, 107, 1.0f), parameterEvent(65, 107, 2.0f),
                         parameterEvent(1'000'000, 107, 3.0f)});
    EXPECT_EQ(kernel.segments, (std::vector<Segment>{{64, 0, 0.0f}}));
    EXPECT_EQ(kernel.value, 1.0f) << "the event at the end applies after the last frame, later ones not at all";

    RecordingKernel empty;
    empty.run(0.0, 0, {parameterEvent(0, 107, 1.0f)});
    EXPECT_TRUE(empty.segments.empty());
}

TEST(DSPKernelTest, RoutesMIDIAndIgnoresEventListsAndUnknownTypes)
{
    RecordingKernel kernel;
    std::vector<AURenderEvent> events{midiEvent(0x90), midiEvent(0xF0, AURenderEventType::midiSysEx),
                                      midiEvent(0x80, AURenderEventType::midiEventList),
                                      midiEvent(0x81, static_cast<AURenderEventType>(3))};
    chain(events);
    const AUMIDIOutputEventBlock block = [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) {
        return noErr;
    };
    kernel.processWithEvents(nullptr, 16, events.data(), &block);
    EXPECT_EQ(kernel.calls, (std::vector<std::string>{"midi 144", "midi 240"}));
    EXPECT_EQ(kernel.midiDuringEvent, &block);
    EXPECT_EQ(kernel.currentMidiOut(), nullptr) << "the block is only held for the cycle";
    EXPECT_EQ(kernel.segments, (std::vector<Segment>{{16, 0, 0.0f}}));
}
