#pragma once

#include <cmath>

namespace VELMORA {

// A phase accumulator brought back into (-pi, pi] after each addition keeps
// its precision for the life of the object (cos and sin do not change); a
// value that is not finite, left by one bad input sample, starts again at 0.
inline float wrapPhase(float phase) {
    if (!std::isfinite(phase)) {
        return 0.0f;
    }
    constexpr double kPi = 3.141592653589793;
    double wrapped = std::remainder(static_cast<double>(phase), 2.0 * kPi);
    if (wrapped <= -kPi) {
        wrapped += 2.0 * kPi;
    }
    return static_cast<float>(wrapped);
}

} // namespace VELMORA
