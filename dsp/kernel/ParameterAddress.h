#pragma once

#include <optional>

#include "AudioTypes.h"

// Addresses of the twelve global parameters. Band n (MIDI note 0..127) of
// processing mode p (0..4) lives at bandAddress(p, n) = 1000 * (p + 1) + n.
enum class ParameterAddress : AUParameterAddress {
    kBypass = 100,
    kVolumeIn = 101,
    kVolumeOut = 102,
    kProcessingMode = 103,
    kOperationMode = 104,
    kRangeLeft = 105,
    kRangeRight = 106,
    kMix = 107,
    kLimiterAttack = 108,
    kLimiterDecay = 109,
    kLimiterRelease = 110,
    kCompanderMultiplier = 111,
};

inline constexpr AUParameterAddress kBandBlockSize = 1000;
inline constexpr AUParameterAddress kFirstBandAddress = kBandBlockSize;
inline constexpr AUParameterAddress kBandAddressEnd = 6 * kBandBlockSize;

constexpr AUParameterAddress rawValue(ParameterAddress address)
{
    return static_cast<AUParameterAddress>(address);
}

constexpr std::optional<ParameterAddress> parameterAddressFromRaw(AUParameterAddress raw)
{
    if (raw < rawValue(ParameterAddress::kBypass) || raw > rawValue(ParameterAddress::kCompanderMultiplier))
        return std::nullopt;
    return static_cast<ParameterAddress>(raw);
}

constexpr AUParameterAddress bandAddress(int processingMode, int note)
{
    return kBandBlockSize * static_cast<AUParameterAddress>(processingMode + 1) + static_cast<AUParameterAddress>(note);
}
