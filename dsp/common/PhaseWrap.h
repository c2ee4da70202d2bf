#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace VELMORA {

namespace phasewrap {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kFastLimit = 1125899906842624.0; // 2^50

typedef float Floats2 __attribute__((vector_size(8)));
typedef float Floats4 __attribute__((vector_size(16)));
typedef double Doubles2 __attribute__((vector_size(16)));

// The fast branch of wrapPhase on two values. The truncation adds and removes
// 2^52 (exact below 2^51) and gives +0 for less than one turn either way, as
// the integer conversion does; every other operation is wrapPhase's own.
inline Doubles2 wrapTwo(Doubles2 x) {
    constexpr double kShift = 4503599627370496.0; // 2^52
    const Doubles2 turns = x * (1.0 / kTwoPi);
    const Doubles2 size = turns < 0.0 ? -turns : turns;
    Doubles2 whole = (size + kShift) - kShift;
    whole = whole > size ? whole - 1.0 : whole;
    whole = turns < 0.0 ? 0.0 - whole : whole;
    const Doubles2 wrapped = x - kTwoPi * whole;
    return wrapped > kPi ? wrapped - kTwoPi : (wrapped <= -kPi ? wrapped + kTwoPi : wrapped);
}

// Four phases at p wrapped in place; false, leaving them, unless all four
// are within the fast range.
inline bool wrapFour(float* p) {
    for (int i = 0; i < 4; ++i) {
        if (!(std::fabs(static_cast<double>(p[i])) < kFastLimit)) {
            return false;
        }
    }
    Floats4 v;
    std::memcpy(&v, p, sizeof v);
    const Floats2 low = __builtin_convertvector(
        wrapTwo(__builtin_convertvector(__builtin_shufflevector(v, v, 0, 1), Doubles2)), Floats2);
    const Floats2 high = __builtin_convertvector(
        wrapTwo(__builtin_convertvector(__builtin_shufflevector(v, v, 2, 3), Doubles2)), Floats2);
    v = __builtin_shufflevector(low, high, 0, 1, 2, 3);
    std::memcpy(p, &v, sizeof v);
    return true;
}

} // namespace phasewrap

// A phase accumulator brought back into (-pi, pi] after each addition keeps
// its precision for the life of the object (cos and sin do not change); a
// value that is not finite, left by one bad input sample, starts again at 0.
// Synthesis calls this once per bin and frame, so the usual case takes whole
// turns off by a truncating conversion; only values beyond 2^50 (never reached
// by a frame's advance) take the exact library remainder.
inline float wrapPhase(float phase) {
    using namespace phasewrap;
    if (!std::isfinite(phase)) {
        return 0.0f;
    }
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

// wrapPhase on each of count phases in place, four at a time on vectors
// (a frame's worth of accumulators is too many for one call each).
inline void wrapPhases(float* phases, int32_t count) {
    int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        if (!phasewrap::wrapFour(phases + k)) {
            for (int32_t i = k; i < k + 4; ++i) {
                phases[i] = wrapPhase(phases[i]);
            }
        }
    }
    for (; k < count; ++k) {
        phases[k] = wrapPhase(phases[k]);
    }
}

} // namespace VELMORA
