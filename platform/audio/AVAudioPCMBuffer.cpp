#include "AVAudioPCMBuffer.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::size_t kFloatsPerAlignment = AVAudioPCMBuffer::kAlignment / sizeof(float);

std::size_t alignedStride(AVAudioFrameCount frames)
{
    return (static_cast<std::size_t>(frames) + kFloatsPerAlignment - 1) / kFloatsPerAlignment * kFloatsPerAlignment;
}

} // namespace

std::shared_ptr<AVAudioPCMBuffer> AVAudioPCMBuffer::make(std::shared_ptr<AVAudioFormat> format,
                                                         AVAudioFrameCount frameCapacity)
{
    constexpr AVAudioFrameCount largest = std::numeric_limits<std::uint32_t>::max() / sizeof(float);
    if (!format || frameCapacity == 0 || frameCapacity > largest)
        return nullptr;
    const std::size_t stride = alignedStride(frameCapacity);
    const std::size_t bytes = stride * format->channelCount() * sizeof(float);
    void* memory = ::operator new[](bytes, std::align_val_t{kAlignment}, std::nothrow);
    if (memory == nullptr)
        return nullptr;
    std::memset(memory, 0, bytes);
    return std::shared_ptr<AVAudioPCMBuffer>(
        new AVAudioPCMBuffer(std::move(format), frameCapacity, static_cast<float*>(memory), stride));
}

AVAudioPCMBuffer::AVAudioPCMBuffer(std::shared_ptr<AVAudioFormat> format, AVAudioFrameCount frameCapacity,
                                   float* memory, std::size_t channelStride)
    : format_(std::move(format))
    , frameCapacity_(frameCapacity)
    , memory_(memory)
{
    list_.mNumberBuffers = format_->channelCount();
    for (std::uint32_t channel = 0; channel < list_.mNumberBuffers; ++channel) {
        AudioBuffer& buffer = list_.mBuffers[channel];
        buffer.mNumberChannels = 1;
        buffer.mDataByteSize = frameCapacity * static_cast<std::uint32_t>(sizeof(float));
        buffer.mData = memory_ + channel * channelStride;
    }
    mutableList_ = list_;
}

bool AVAudioPCMBuffer::setFrameLength(AVAudioFrameCount length)
{
    if (length > frameCapacity_)
        return false;
    frameLength_ = length;
    return true;
}

float* AVAudioPCMBuffer::floatChannelData(AVAudioChannelCount channel) const
{
    if (channel >= list_.mNumberBuffers)
        return nullptr;
    return static_cast<float*>(list_.mBuffers[channel].mData);
}

AVAudioPCMBuffer::~AVAudioPCMBuffer()
{
    ::operator delete[](memory_, std::align_val_t{kAlignment});
}
