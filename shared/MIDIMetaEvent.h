#pragma once

#include <cstdint>

// The meta-event record that MIDI calls take a pointer to: 12 bytes, aligned
// to 4, whose last four bytes are the first data byte and padding; longer
// data continues past the record's end.
struct MIDIMetaEvent {
    std::uint8_t metaEventType;
    std::uint8_t unused1;
    std::uint8_t unused2;
    std::uint8_t unused3;
    std::uint32_t dataLength;
    std::uint8_t data[1];
};

static_assert(sizeof(MIDIMetaEvent) == 12 && alignof(MIDIMetaEvent) == 4);
