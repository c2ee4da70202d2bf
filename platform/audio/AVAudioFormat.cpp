#include "AVAudioFormat.h"

#include <cmath>

#include "AudioBufferList.h"

std::shared_ptr<AVAudioFormat> AVAudioFormat::standardFormat(double sampleRate, AVAudioChannelCount channels)
{
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0)
        return nullptr;
    if (channels == 0 || channels > AudioBufferList::kMaxBuffers)
        return nullptr;
    return std::shared_ptr<AVAudioFormat>(new AVAudioFormat(sampleRate, channels));
}

AVAudioFormat::AVAudioFormat(double sampleRate, AVAudioChannelCount channels)
    : sampleRate_(sampleRate)
    , channelCount_(channels)
{
}
