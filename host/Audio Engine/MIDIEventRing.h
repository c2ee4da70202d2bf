#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "AudioTypes.h"

// A fixed ring of MIDI events: any number of render threads push without
// allocating, locking or waiting; a consumer pops. Only an event's first
// kKeptBytes bytes are kept, with its full length. A full ring drops the event
// and counts it.
class MIDIEventRing {
public:
    static constexpr std::size_t kCapacity = 256;
    static constexpr std::size_t kKeptBytes = 3;

    struct Event {
        AUEventSampleTime sampleTime = 0;
        std::int64_t length = 0;
        // The first bytes of the event, at most kKeptBytes of them.
        std::array<std::uint8_t, kKeptBytes> bytes {};
        std::size_t keptBytes = 0;
    };

    MIDIEventRing();

    // Copies the event: `bytes` (may be null when `length` is not positive)
    // need only stay valid during the call. False when the ring was full.
    bool push(AUEventSampleTime sampleTime, std::int64_t length, const std::uint8_t* bytes);
    // False when the ring is empty.
    bool pop(Event& event);
    // The events dropped since the last call.
    std::uint64_t takeDropped() { return dropped_.exchange(0); }

private:
    static_assert((kCapacity & (kCapacity - 1)) == 0, "the capacity must be a power of two");

    // A cell is free for the push of position p when its sequence is p, and
    // holds the event of position p when its sequence is p + 1.
    struct Cell {
        std::atomic<std::size_t> sequence;
        Event event;
    };

    std::array<Cell, kCapacity> cells_;
    alignas(64) std::atomic<std::size_t> pushPosition_ { 0 };
    alignas(64) std::atomic<std::size_t> popPosition_ { 0 };
    std::atomic<std::uint64_t> dropped_ { 0 };
};
