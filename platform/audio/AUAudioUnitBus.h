#pragma once

#include <memory>

#include "AVAudioFormat.h"
#include "AudioTypes.h"

// One input or output connection point of an audio unit and its format.
class AUAudioUnitBus {
public:
    // Null when the format is null.
    static std::shared_ptr<AUAudioUnitBus> make(std::shared_ptr<AVAudioFormat> format);

    const std::shared_ptr<AVAudioFormat>& format() const { return format_; }
    // Refuses (false, format unchanged) a null format or one with more channels
    // than maximumChannelCount().
    bool setFormat(std::shared_ptr<AVAudioFormat> format);

    AUAudioChannelCount maximumChannelCount() const { return maximumChannelCount_; }
    void setMaximumChannelCount(AUAudioChannelCount count) { maximumChannelCount_ = count; }

    bool shouldAllocateBuffer() const { return shouldAllocateBuffer_; }
    void setShouldAllocateBuffer(bool allocate) { shouldAllocateBuffer_ = allocate; }

private:
    explicit AUAudioUnitBus(std::shared_ptr<AVAudioFormat> format);

    std::shared_ptr<AVAudioFormat> format_;
    AUAudioChannelCount maximumChannelCount_;
    bool shouldAllocateBuffer_ = false;
};
