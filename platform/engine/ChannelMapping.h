#pragma once

#include "AVAudioPCMBuffer.h"
#include "AudioBufferList.h"
#include "AudioTypes.h"

// Buffer-list helpers of the render path; none of them allocates.

// Zeroes the first `frames` frames of every buffer of the list.
void silence(AudioBufferList& list, AUAudioFrameCount frames);

// Channel c of `to` takes channel min(c, last) of `from`: a mono source fills
// every channel, channels beyond those of `to` are left out. A list without
// buffers gives silence.
void copyMapped(const AudioBufferList& from, AudioBufferList& to, AUAudioFrameCount frames);
void addMapped(const AudioBufferList& from, AudioBufferList& to, AUAudioFrameCount frames);

// The list's buffers from frame `offset` on, each `frames` long.
AudioBufferList sliceOf(const AudioBufferList& list, AUAudioFrameCount offset, AUAudioFrameCount frames);

// The first `channels` channels of the buffer, each `frames` long (at most
// the buffer's channels and capacity).
AudioBufferList channelsOf(const AVAudioPCMBuffer& buffer, AVAudioChannelCount channels, AUAudioFrameCount frames);
