#pragma once

#include <cstdint>
#include <functional>

#include "AURenderEvent.h"
#include "AudioBufferList.h"
#include "AudioTimeStamp.h"
#include "AudioTypes.h"

// Callbacks that hosts hand to an audio unit. Calling a std::function never
// allocates, so the render thread may call them; it must never copy or build one.

// Pulls the input of the given bus into the given list (flags, timestamp, frame
// count, input bus number, buffers).
using AURenderPullInputBlock = std::function<AUAudioUnitStatus(
    AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount, std::int64_t, AudioBufferList*)>;

// Sends MIDI bytes out of the unit (sample time, cable, length, bytes).
using AUMIDIOutputEventBlock =
    std::function<OSStatus(AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*)>;

// Schedules MIDI bytes to another unit (sample time, cable, length, bytes).
using AUScheduleMIDIEventBlock =
    std::function<void(AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*)>;

// Tempo, time signature numerator and denominator, beat position, samples to the
// next beat, downbeat position of the current measure; any pointer may be null.
using AUHostMusicalContextBlock =
    std::function<bool(double*, double*, std::int64_t*, double*, std::int64_t*, double*)>;

using AUHostTransportStateFlags = std::uint32_t;

// Transport flags, sample position, cycle start and end beat; any pointer may be null.
using AUHostTransportStateBlock = std::function<bool(AUHostTransportStateFlags*, double*, double*, double*)>;

// Renders one cycle (flags, timestamp, frame count, output bus number, output
// buffers, head of the render event list, pull-input block; an empty pull block
// means the host gave none).
using AUInternalRenderBlock =
    std::function<AUAudioUnitStatus(AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount, std::int64_t,
                                    AudioBufferList*, const AURenderEvent*, const AURenderPullInputBlock&)>;

// What a host calls to render a unit: the same without the event list.
using AURenderBlock = std::function<AUAudioUnitStatus(AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                                      AUAudioFrameCount, std::int64_t, AudioBufferList*,
                                                      const AURenderPullInputBlock&)>;
