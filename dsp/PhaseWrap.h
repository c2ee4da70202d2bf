#pragma once

#include <cmath>
#include <cstdint>

namespace VELMORA {

// A phase accumulator brought back into (-pi, pi] after each addition keeps
// its precision for the life of the object (cos and sin do not change); a
// value that is not finite, left by one bad input sample, starts again at 0.
// Synthesis calls this once per bin and frame, so the usual case takes whole
// turns off by a truncating conversion; only values beyond 2^50 (never reached
// by a frame's advance) take the exact library remainder.
inline float wrapPhase(float phase) {
    if (!std::isfinite(phase)) {
        return 0.0f;
    }
    constexpr double kPi = 3.141592653589793;
    constexpr double kTwoPi = 2.0 * kPi;
    constexpr double kFastLimit = 1125899906842624.0; // 2^50
    const double x = static_cast<double>(phase);
    double wrapped = std::fabs(x) < kFastLimit
                         ? x - kTwoPi * static_cast<double>(static_cast<std::int64_t>(x * (1.0 / kTwoPi)))
                         : std::remainder(x, kTwoPi);
    if (wrapped > kPi) {
        wrapped -= kTwoPi;
    } else if (wrapped <= -kPi) {
        wrapped += kTwoPi;
    }
    return static_cast<float>(wrapped);
}

} // namespace VELMORA
