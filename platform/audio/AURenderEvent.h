#pragma once

#include <cstdint>
#include <optional>

#include "AudioTypes.h"

enum class AURenderEventType : std::uint8_t {
    parameter = 1,
    parameterRamp = 2,
    midi = 8,
    midiSysEx = 9,
    midiEventList = 10,
};

inline std::optional<AURenderEventType> AURenderEventTypeFromRaw(std::uint8_t raw)
{
    switch (raw) {
    case 1: return AURenderEventType::parameter;
    case 2: return AURenderEventType::parameterRamp;
    case 8: return AURenderEventType::midi;
    case 9: return AURenderEventType::midiSysEx;
    case 10: return AURenderEventType::midiEventList;
    default: return std::nullopt;
    }
}

union AURenderEvent;

// The records below share their first four fields, so the type can be read through
// `head` whichever record an event holds.
struct AURenderEventHeader {
    const AURenderEvent* next;
    AUEventSampleTime eventSampleTime;
    AURenderEventType eventType;
    std::uint8_t reserved;
};

struct AUParameterEvent {
    const AURenderEvent* next;
    AUEventSampleTime eventSampleTime;
    AURenderEventType eventType;
    std::uint8_t reserved[3];
    AUAudioFrameCount rampDurationSampleFrames;
    AUParameterAddress parameterAddress;
    AUValue value;
};

// A MIDI message of up to three bytes; `length` counts the bytes in use.
struct AUMIDIEvent {
    const AURenderEvent* next;
    AUEventSampleTime eventSampleTime;
    AURenderEventType eventType;
    std::uint8_t reserved;
    std::uint16_t length;
    std::uint8_t cable;
    std::uint8_t data[3];
};

union AURenderEvent {
    AURenderEventHeader head;
    AUParameterEvent parameter;
    AUMIDIEvent MIDI;
};
