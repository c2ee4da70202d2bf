#pragma once

#include <cstdint>
#include <memory>

#include "AudioTypes.h"
#include "MIDIEventRing.h"
#include "RealtimeNotifier.h"

// Carries the MIDI events an audio unit sends on its render thread to the main
// queue and logs them there. receive() only copies the event into a ring and
// wakes a thread of the relay's own, which posts the drain to the main queue;
// the render thread never allocates, locks or prints.
class MIDIEventRelay : public std::enable_shared_from_this<MIDIEventRelay> {
public:
    MIDIEventRelay();

    // Render thread. Always returns noErr; an event that finds the ring full
    // is dropped, and the drain reports how many were.
    OSStatus receive(AUEventSampleTime sampleTime, std::int64_t length, const std::uint8_t* bytes);
    // Waits until the drains for every event received so far are posted.
    void flush();

private:
    void postDrain();
    void drain();

    MIDIEventRing ring_;
    RealtimeNotifier notifier_;
};
