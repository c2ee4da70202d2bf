#include "AUAudioUnitBus.h"

#include "AudioBufferList.h"

std::shared_ptr<AUAudioUnitBus> AUAudioUnitBus::make(std::shared_ptr<AVAudioFormat> format)
{
    if (!format)
        return nullptr;
    return std::shared_ptr<AUAudioUnitBus>(new AUAudioUnitBus(std::move(format)));
}

AUAudioUnitBus::AUAudioUnitBus(std::shared_ptr<AVAudioFormat> format)
    : format_(std::move(format))
    , maximumChannelCount_(AudioBufferList::kMaxBuffers)
{
}

bool AUAudioUnitBus::setFormat(std::shared_ptr<AVAudioFormat> format)
{
    if (!format || format->channelCount() > maximumChannelCount_)
        return false;
    format_ = std::move(format);
    return true;
}
