#pragma once

#include <memory>

#include "AVAudioFormat.h"
#include "AudioBufferList.h"
#include "AudioTypes.h"

// Channel memory for frameCapacity frames in a standard format. Every channel array
// is 16-byte aligned and starts zeroed. audioBufferList() always describes the
// buffer's own memory; mutableAudioBufferList() starts equal to it and is the copy
// that callers may point elsewhere. frameLength() says how many of the frames
// hold audio; it starts at 0.
class AVAudioPCMBuffer {
public:
    static constexpr std::size_t kAlignment = 16;

    // Null when the format is null, the capacity is 0 or too large for a buffer
    // size in bytes, or the memory cannot be obtained.
    static std::shared_ptr<AVAudioPCMBuffer> make(std::shared_ptr<AVAudioFormat> format,
                                                  AVAudioFrameCount frameCapacity);

    ~AVAudioPCMBuffer();
    AVAudioPCMBuffer(const AVAudioPCMBuffer&) = delete;
    AVAudioPCMBuffer& operator=(const AVAudioPCMBuffer&) = delete;

    const std::shared_ptr<AVAudioFormat>& format() const { return format_; }
    AVAudioFrameCount frameCapacity() const { return frameCapacity_; }
    AVAudioFrameCount frameLength() const { return frameLength_; }
    // Refuses (false, length unchanged) a length above the capacity.
    bool setFrameLength(AVAudioFrameCount length);
    // The channel's samples; null for a channel the format does not have.
    float* floatChannelData(AVAudioChannelCount channel) const;
    const AudioBufferList* audioBufferList() const { return &list_; }
    AudioBufferList* mutableAudioBufferList() { return &mutableList_; }

private:
    AVAudioPCMBuffer(std::shared_ptr<AVAudioFormat> format, AVAudioFrameCount frameCapacity, float* memory,
                     std::size_t channelStride);

    std::shared_ptr<AVAudioFormat> format_;
    AVAudioFrameCount frameCapacity_;
    AVAudioFrameCount frameLength_ = 0;
    float* memory_;
    AudioBufferList list_;
    AudioBufferList mutableList_;
};
