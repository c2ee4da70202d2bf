#pragma once

#include "AudioTypes.h"

// The effect's parameter addresses: twelve global parameters and, for each
// processing mode p (0 linked .. 4 side), a block of 128 bands, band n of mode p
// at 1000 * (p + 1) + n.
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
    kLinkedBands = 1000,
    kLeftBands = 2000,
    kRightBands = 3000,
    kMidBands = 4000,
    kSideBands = 5000,
};

inline constexpr AUParameterAddress kBandBlockSize = 1000;
inline constexpr int kProcessingModes = 5;

constexpr AUParameterAddress rawAddress(ParameterAddress address) { return static_cast<AUParameterAddress>(address); }
