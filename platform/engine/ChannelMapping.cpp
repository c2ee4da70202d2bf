#include "ChannelMapping.h"

#include <algorithm>
#include <cstring>

namespace {

float* samples(const AudioBuffer& buffer) { return static_cast<float*>(buffer.mData); }

std::uint32_t byteSize(AUAudioFrameCount frames) { return frames * static_cast<std::uint32_t>(sizeof(float)); }

template <typename Combine>
void mapChannels(const AudioBufferList& from, AudioBufferList& to, AUAudioFrameCount frames, Combine combine)
{
    if (from.mNumberBuffers == 0) {
        silence(to, frames);
        return;
    }
    for (std::uint32_t channel = 0; channel < to.mNumberBuffers; ++channel) {
        const float* source = samples(from.mBuffers[std::min(channel, from.mNumberBuffers - 1)]);
        float* target = samples(to.mBuffers[channel]);
        for (AUAudioFrameCount frame = 0; frame < frames; ++frame)
            combine(target[frame], source[frame]);
    }
}

} // namespace

void silence(AudioBufferList& list, AUAudioFrameCount frames)
{
    for (std::uint32_t channel = 0; channel < list.mNumberBuffers; ++channel)
        std::memset(list.mBuffers[channel].mData, 0, byteSize(frames));
}

void copyMapped(const AudioBufferList& from, AudioBufferList& to, AUAudioFrameCount frames)
{
    mapChannels(from, to, frames, [](float& target, float source) { target = source; });
}

void addMapped(const AudioBufferList& from, AudioBufferList& to, AUAudioFrameCount frames)
{
    mapChannels(from, to, frames, [](float& target, float source) { target += source; });
}

AudioBufferList sliceOf(const AudioBufferList& list, AUAudioFrameCount offset, AUAudioFrameCount frames)
{
    AudioBufferList slice = list;
    for (std::uint32_t channel = 0; channel < slice.mNumberBuffers; ++channel) {
        slice.mBuffers[channel].mData = samples(list.mBuffers[channel]) + offset;
        slice.mBuffers[channel].mDataByteSize = byteSize(frames);
    }
    return slice;
}

AudioBufferList channelsOf(const AVAudioPCMBuffer& buffer, AVAudioChannelCount channels, AUAudioFrameCount frames)
{
    AudioBufferList list = *buffer.audioBufferList();
    list.mNumberBuffers = std::min(channels, list.mNumberBuffers);
    for (std::uint32_t channel = 0; channel < list.mNumberBuffers; ++channel)
        list.mBuffers[channel].mDataByteSize = byteSize(std::min(frames, buffer.frameCapacity()));
    return list;
}
