#pragma once

#include <cstdint>

// One channel of non-interleaved audio: mData holds mDataByteSize bytes of floats.
struct AudioBuffer {
    std::uint32_t mNumberChannels = 1;
    std::uint32_t mDataByteSize = 0;
    void* mData = nullptr;
};

// A list of channel buffers. The capacity is fixed so that a list can live on the
// stack or inside another object; mNumberBuffers says how many entries are in use.
struct AudioBufferList {
    static constexpr std::uint32_t kMaxBuffers = 16;

    std::uint32_t mNumberBuffers = 0;
    AudioBuffer mBuffers[kMaxBuffers] = {};
};
