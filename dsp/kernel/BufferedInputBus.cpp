#include "BufferedInputBus.h"

AUAudioUnitStatus BufferedInputBus::pullInput(AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
                                              AUAudioFrameCount frameCount, std::int64_t inputBusNumber,
                                              const AURenderPullInputBlock& pullInputBlock)
{
    if (!pullInputBlock)
        return kAudioUnitErr_NoConnection;
    if (mutableAudioBufferList == nullptr)
        return kAudioUnitErr_Uninitialized;
    prepareInputBufferList();
    return pullInputBlock(actionFlags, timestamp, frameCount, inputBusNumber, mutableAudioBufferList);
}

void BufferedInputBus::prepareInputBufferList()
{
    if (originalAudioBufferList == nullptr || mutableAudioBufferList == nullptr)
        return;
    const std::uint32_t byteSize = capacity() * static_cast<std::uint32_t>(sizeof(float));
    mutableAudioBufferList->mNumberBuffers = originalAudioBufferList->mNumberBuffers;
    for (std::uint32_t i = 0; i < originalAudioBufferList->mNumberBuffers; ++i) {
        mutableAudioBufferList->mBuffers[i].mNumberChannels = originalAudioBufferList->mBuffers[i].mNumberChannels;
        mutableAudioBufferList->mBuffers[i].mData = originalAudioBufferList->mBuffers[i].mData;
        mutableAudioBufferList->mBuffers[i].mDataByteSize = byteSize;
    }
}
