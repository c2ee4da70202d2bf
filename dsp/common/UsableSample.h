#pragma once

#include <cfloat>
#include <cmath>

namespace VELMORA {

// Whether a sample is at most `limit` in size. False for a NaN, which fails
// every comparison, and for an infinity; a limit below the top of the float
// range also refuses finite samples too large for what the caller does.
inline bool isUsableSample(float sample, float limit = FLT_MAX) {
    return std::fabs(sample) <= limit;
}

// The sample, or silence in place of one that is not finite.
inline float usableOrSilence(float sample) {
    return isUsableSample(sample) ? sample : 0.0f;
}

} // namespace VELMORA
