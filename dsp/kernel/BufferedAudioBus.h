#pragma once

#include <memory>

#include "AUAudioUnitBus.h"
#include "AVAudioFormat.h"
#include "AVAudioPCMBuffer.h"
#include "AudioBufferList.h"
#include "AudioTypes.h"

// A bus object together with the buffer that holds its audio between render calls.
class BufferedAudioBus {
public:
    void init(std::shared_ptr<AVAudioFormat> format, AUAudioChannelCount maxChannels);
    // Sizes the buffer to maxFrames in the bus's format; on failure the lists stay null.
    void allocateRenderResources(AUAudioFrameCount maxFrames);
    void deallocateRenderResources();

    // Frames the lists can carry: 0 while no buffer exists.
    AUAudioFrameCount capacity() const;

    std::shared_ptr<AUAudioUnitBus> bus;
    AUAudioFrameCount maxFrames = 0;
    std::shared_ptr<AVAudioPCMBuffer> pcmBuffer;
    const AudioBufferList* originalAudioBufferList = nullptr;
    AudioBufferList* mutableAudioBufferList = nullptr;
};
