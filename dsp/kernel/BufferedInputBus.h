#pragma once

#include <cstdint>

#include "AUBlockTypes.h"
#include "BufferedAudioBus.h"

// The input bus: pulls the host's input into its own buffer.
class BufferedInputBus : public BufferedAudioBus {
public:
    // -10876 without a pull block, -10867 while no buffer exists; otherwise the
    // pull block's status.
    AUAudioUnitStatus pullInput(AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
                                AUAudioFrameCount frameCount, std::int64_t inputBusNumber,
                                const AURenderPullInputBlock& pullInputBlock);

    // Points the mutable list back at the buffer's own memory and full capacity,
    // whatever the host did to it during the previous pull.
    void prepareInputBufferList();
};
