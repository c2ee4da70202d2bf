#pragma once

#include <cfloat>
#include <cmath>

namespace VELMORA {

// Zero and subnormal results (exponent field zero) become exactly +0, so that
// decaying values end at 0 instead of lingering as slow subnormals.
inline float flushToZero(float x) {
    return std::fabs(x) < FLT_MIN ? 0.0f : x;
}

} // namespace VELMORA
