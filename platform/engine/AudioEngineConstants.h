#pragma once

#include "AudioTypes.h"

// The engine runs at one rate, fixed before it starts: files are decoded to it
// and every connection carries it.
inline constexpr double kAudioEngineSampleRate = 48000.0;
inline constexpr AVAudioChannelCount kAudioEngineChannels = 2;
// The most frames one render pass of the graph asks of a node.
inline constexpr AUAudioFrameCount kAudioEngineFramesPerSlice = 512;
