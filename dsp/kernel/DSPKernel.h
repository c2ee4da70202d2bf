#pragma once

#include <atomic>

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
    // From any thread, rendering or not: the next cycle starts with reset() on
    // the render thread, so that the state never changes under a cycle running.
    void requestReset();

protected:
    // Clears the signal state. On the render thread, or while no cycle runs.
    virtual void reset();
    virtual void process(AUAudioFrameCount frameCount, AUAudioFrameCount bufferOffset);
    virtual void setParameterAutomated(AUParameterAddress address, AUValue value, AUEventSampleTime time);
    virtual void handleMIDIEvent(const AUMIDIEvent& event);

    // The MIDI output block of the cycle in progress; null outside processWithEvents.
    const AUMIDIOutputEventBlock* midiOut = nullptr;

private:
    void resetIfRequested();
    void performAllSimultaneousEvents(AUEventSampleTime now, const AURenderEvent*& event);
    void handleOneEvent(const AURenderEvent* event);

    std::atomic<bool> resetRequested{false};
};
