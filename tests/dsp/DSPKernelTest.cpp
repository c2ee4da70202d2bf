#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DSPKernel.h"

namespace {

struct Segment {
    AUAudioFrameCount frames;
    AUAudioFrameCount offset;
    float value;
};

// Records every segment with the parameter value in force, and every call.
class RecordingKernel : public DSPKernel {
public:
    std::vector<Segment> segments;
    std::vector<std::string> calls;
    float value = 0.0f;
    const AUMIDIOutputEventBlock* midiDuringEvent = nullptr;

    const AUMIDIOutputEventBlock* currentMidiOut() const { return midiOut; }

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

AURenderEvent parameterEvent(AUEventSampleTime time, float value, AUParameterAddress address = 107,
                             AURenderEventType type = AURenderEventType::parameter)
{
    AURenderEvent event{};
    event.parameter.eventSampleTime = time;
    event.parameter.eventType = type;
    event.parameter.parameterAddress = address;
    event.parameter.value = value;
    event.parameter.rampDurationSampleFrames = 64;
    return event;
}

AURenderEvent midiEvent(AUEventSampleTime time, std::uint8_t status, AURenderEventType type = AURenderEventType::midi)
{
    AURenderEvent event{};
    event.MIDI.eventSampleTime = time;
    event.MIDI.eventType = type;
    event.MIDI.length = 3;
    event.MIDI.data[0] = status;
    return event;
}

void chain(std::vector<AURenderEvent>& events)
{
    for (std::size_t i = 0; i + 1 < events.size(); ++i)
        events[i].head.next = &events[i + 1];
}

AudioTimeStamp at(double sampleTime)
{
    AudioTimeStamp stamp;
    stamp.mSampleTime = sampleTime;
    stamp.mFlags = kAudioTimeStampSampleTimeValid;
    return stamp;
}

} // namespace

TEST(DSPKernelTest, SplitsTheCycleAtEachEventsOwnSample)
{
    RecordingKernel kernel;
    std::vector<AURenderEvent> events{parameterEvent(1030, 0.5f), parameterEvent(1100, 0.25f)};
    chain(events);
    const AudioTimeStamp stamp = at(1000.0);
    kernel.processWithEvents(&stamp, 128, events.data(), nullptr);

    ASSERT_EQ(kernel.segments.size(), 3u);
    EXPECT_EQ(kernel.segments[0].frames, 30u);
    EXPECT_EQ(kernel.segments[0].offset, 0u);
    EXPECT_EQ(kernel.segments[0].value, 0.0f);
    EXPECT_EQ(kernel.segments[1].frames, 70u);
    EXPECT_EQ(kernel.segments[1].offset, 30u);
    EXPECT_EQ(kernel.segments[1].value, 0.5f);
    EXPECT_EQ(kernel.segments[2].frames, 28u);
    EXPECT_EQ(kernel.segments[2].offset, 100u);
    EXPECT_EQ(kernel.segments[2].value, 0.25f);
}

TEST(DSPKernelTest, EventsOfOneTimeApplyInListOrderAndEarlyEventsBeforeTheFirstFrame)
{
    RecordingKernel kernel;
    std::vector<AURenderEvent> events{parameterEvent(10, 1.0f, 101), parameterEvent(500, 2.0f, 102),
                                      parameterEvent(500, 3.0f, 103, AURenderEventType::parameterRamp),
                                      parameterEvent(512, 4.0f, 104)};
    chain(events);
    const AudioTimeStamp stamp = at(500.9); // truncated to 500
    kernel.processWithEvents(&stamp, 64, events.data(), nullptr);

    EXPECT_EQ(kernel.calls, (std::vector<std::string>{"param 101@10", "param 102@500", "param 103@500",
                                                      "param 104@512"}));
    ASSERT_EQ(kernel.segments.size(), 2u);
    EXPECT_EQ(kernel.segments[0].frames, 12u);
    EXPECT_EQ(kernel.segments[0].value, 3.0f) << "the ramp's target took effect at its start";
    EXPECT_EQ(kernel.segments[1].offset, 12u);
    EXPECT_EQ(kernel.segments[1].value, 4.0f);
}

TEST(DSPKernelTest, AnEventAfterTheCycleNeverOverrunsItAndOneAtItsEndApplies)
{
    RecordingKernel kernel;
    std::vector<AURenderEvent> events{parameterEvent(64, 1.0f), parameterEvent(65, 2.0f),
                                      parameterEvent(1'000'000, 3.0f)};
    chain(events);
    const AudioTimeStamp stamp = at(0.0);
    kernel.processWithEvents(&stamp, 64, events.data(), nullptr);
    ASSERT_EQ(kernel.segments.size(), 1u);
    EXPECT_EQ(kernel.segments[0].frames, 64u);
    EXPECT_EQ(kernel.value, 1.0f) << "the event at the end applies after the last frame, later ones not at all";

    RecordingKernel late;
    std::vector<AURenderEvent> only{parameterEvent(5000, 9.0f)};
    late.processWithEvents(&stamp, 256, only.data(), nullptr);
    ASSERT_EQ(late.segments.size(), 1u);
    EXPECT_EQ(late.segments[0].frames, 256u);
    EXPECT_TRUE(late.calls.empty());
}

TEST(DSPKernelTest, RoutesMIDIAndIgnoresEventListsAndUnknownTypes)
{
    RecordingKernel kernel;
    std::vector<AURenderEvent> events{midiEvent(0, 0x90), midiEvent(0, 0xF0, AURenderEventType::midiSysEx),
                                      midiEvent(0, 0x80, AURenderEventType::midiEventList),
                                      midiEvent(0, 0x81, static_cast<AURenderEventType>(3))};
    chain(events);
    const AUMIDIOutputEventBlock block = [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) {
        return noErr;
    };
    kernel.processWithEvents(nullptr, 16, events.data(), &block);
    EXPECT_EQ(kernel.calls, (std::vector<std::string>{"midi 144", "midi 240"}));
    EXPECT_EQ(kernel.midiDuringEvent, &block);
    EXPECT_EQ(kernel.currentMidiOut(), nullptr) << "the block is only held for the cycle";
    ASSERT_EQ(kernel.segments.size(), 1u);
    EXPECT_EQ(kernel.segments[0].frames, 16u);
}

TEST(DSPKernelTest, ZeroFramesProcessNothing)
{
    RecordingKernel kernel;
    std::vector<AURenderEvent> events{parameterEvent(0, 1.0f)};
    const AudioTimeStamp stamp = at(0.0);
    kernel.processWithEvents(&stamp, 0, events.data(), nullptr);
    EXPECT_TRUE(kernel.segments.empty());
}
