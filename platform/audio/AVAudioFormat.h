#pragma once

#include <memory>

#include "AudioTypes.h"

// The standard format: de-interleaved 32-bit float channels at a sample rate.
class AVAudioFormat {
public:
    // Null when the rate is not a positive finite number or the channel count is 0
    // or more than an AudioBufferList can carry.
    static std::shared_ptr<AVAudioFormat> standardFormat(double sampleRate, AVAudioChannelCount channels);

    double sampleRate() const { return sampleRate_; }
    AVAudioChannelCount channelCount() const { return channelCount_; }

private:
    AVAudioFormat(double sampleRate, AVAudioChannelCount channels);

    double sampleRate_;
    AVAudioChannelCount channelCount_;
};
