#include "BufferedAudioBus.h"

void BufferedAudioBus::init(std::shared_ptr<AVAudioFormat> format, AUAudioChannelCount maxChannels)
{
    maxFrames = 0;
    pcmBuffer = nullptr;
    originalAudioBufferList = nullptr;
    mutableAudioBufferList = nullptr;
    bus = AUAudioUnitBus::make(std::move(format));
    if (bus)
        bus->setMaximumChannelCount(maxChannels);
}

void BufferedAudioBus::allocateRenderResources(AUAudioFrameCount frames)
{
    maxFrames = frames;
    pcmBuffer = bus ? AVAudioPCMBuffer::make(bus->format(), maxFrames) : nullptr;
    originalAudioBufferList = pcmBuffer ? pcmBuffer->audioBufferList() : nullptr;
    mutableAudioBufferList = pcmBuffer ? pcmBuffer->mutableAudioBufferList() : nullptr;
}

void BufferedAudioBus::deallocateRenderResources()
{
    pcmBuffer = nullptr;
    originalAudioBufferList = nullptr;
    mutableAudioBufferList = nullptr;
}

AUAudioFrameCount BufferedAudioBus::capacity() const
{
    return pcmBuffer ? pcmBuffer->frameCapacity() : 0;
}
