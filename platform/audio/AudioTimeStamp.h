#pragma once

#include <cstdint>

inline constexpr std::uint32_t kAudioTimeStampSampleTimeValid = 1U << 0;
inline constexpr std::uint32_t kAudioTimeStampHostTimeValid = 1U << 1;

struct AudioTimeStamp {
    double mSampleTime = 0.0;
    std::uint64_t mHostTime = 0;
    std::uint32_t mFlags = 0;
};
