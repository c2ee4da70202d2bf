#pragma once

#include "AUBlockTypes.h"
#include "AURenderEvent.h"
#include "AudioTimeStamp.h"
#include "AudioTypes.h"

// Base of the effect kernel: cuts one render cycle into segments at the sample
// times of its render events, so that each event takes effect at its own sample.
class DSPKernel {
public:
    virtual ~DSPKernel() = default;

    // Renders frameCount frames, applying the events of the list in order. Events
    // dated before the cycle apply before its first frame; events dated after its
    // last frame are not applied and never lengthen a segment.
    void processWithEvents(const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                           const AURenderEvent* events, const AUMIDIOutputEventBlock* midiOutput);

protected:
    virtual void process(AUAudioFrameCount frameCount, AUAudioFrameCount bufferOffset);
    virtual void setParameterAutomated(AUParameterAddress address, AUValue value, AUEventSampleTime time);
    virtual void handleMIDIEvent(const AUMIDIEvent& event);

    // The MIDI output block of the cycle in progress; null outside processWithEvents.
    const AUMIDIOutputEventBlock* midiOut = nullptr;

private:
    void performAllSimultaneousEvents(AUEventSampleTime now, const AURenderEvent*& event);
    void handleOneEvent(const AURenderEvent* event);
};
