#pragma once

#include <cstdint>
#include <functional>

#include "AUBlockTypes.h"
#include "AURenderEvent.h"
#include "AudioBufferList.h"
#include "AudioTimeStamp.h"
#include "AudioTypes.h"

// The pull-input block travels by reference (empty when the host has none), so
// that a render call never copies a std::function.

// What a host calls to render: action flags, timestamp, frame count, output bus
// number, output buffers, pull-input block.
using AURenderBlock
    = std::function<AUAudioUnitStatus(AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                      std::int64_t, AudioBufferList*, const AURenderPullInputBlock&)>;

// What an audio unit implements: the render block's arguments plus the head of
// the cycle's render event list (null when there are no events).
using AUInternalRenderBlock = std::function<AUAudioUnitStatus(AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                                              AUAudioFrameCount, std::int64_t, AudioBufferList*,
                                                              const AURenderEvent*, const AURenderPullInputBlock&)>;
