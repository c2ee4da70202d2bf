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
typedef float Floats8 __attribute__((vector_size(32)));
typedef double Doubles2 __attribute__((vector_size(16)));
typedef double Doubles4 __attribute__((vector_size(32)));

// The fast branch of wrapPhase on the lanes of x, in place. The truncation
// adds and removes 2^52 (exact below 2^51) and gives +0 for less than one
// turn either way, as the integer conversion does; every other operation is
// wrapPhase's own. By reference and always inlined, so that the 256-bit form
// is built only inside code compiled for it.
template <class Doubles>
__attribute__((always_inline)) inline void wrapLanes(Doubles& x) {
    constexpr double kShift = 4503599627370496.0; // 2^52
    const Doubles turns = x * (1.0 / kTwoPi);
    const Doubles size = turns < 0.0 ? -turns : turns;
    Doubles whole = (size + kShift) - kShift;
    whole = whole > size ? whole - 1.0 : whole;
    whole = turns < 0.0 ? 0.0 - whole : whole;
    const Doubles wrapped = x - kTwoPi * whole;
    x = wrapped > kPi ? wrapped - kTwoPi : (wrapped <= -kPi ? wrapped + kTwoPi : wrapped);
}

// Whether every lane lies within the fast range (the float comparison decides
// as the double one would: the limit and every float convert exactly).
template <class Floats>
__attribute__((always_inline)) inline bool allFast(const Floats& v) {
    constexpr float kLimit = static_cast<float>(kFastLimit);
    const auto fast = (v < kLimit) & (v > -kLimit);
    for (int i = 0; i < static_cast<int>(sizeof v / sizeof(float)); ++i) {
        if (fast[i] == 0) {
            return false;
        }
    }
    return true;
}

// Four phases at p wrapped in place; false, leaving them, unless all four
// are within the fast range.
inline bool wrapFour(float* p) {
    Floats4 v;
    std::memcpy(&v, p, sizeof v);
    if (!allFast(v)) {
        return false;
    }
    Doubles2 low = __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1), Doubles2);
    Doubles2 high = __builtin_convertvector(__builtin_shufflevector(v, v, 2, 3), Doubles2);
    wrapLanes(low);
    wrapLanes(high);
    v = __builtin_shufflevector(__builtin_convertvector(low, Floats2), __builtin_convertvector(high, Floats2), 0, 1,
                                2, 3);
    std::memcpy(p, &v, sizeof v);
    return true;
}

// The same for eight phases, on processors with 256-bit vectors only.
__attribute__((target("avx2"))) inline bool wrapEight(float* p) {
    Floats8 v;
    std::memcpy(&v, p, sizeof v);
    if (!allFast(v)) {
        return false;
    }
    Doubles4 low = __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3), Doubles4);
    Doubles4 high = __builtin_convertvector(__builtin_shufflevector(v, v, 4, 5, 6, 7), Doubles4);
    wrapLanes(low);
    wrapLanes(high);
    const Floats4 lowFloats = __builtin_convertvector(low, Floats4);
    const Floats4 highFloats = __builtin_convertvector(high, Floats4);
    v = __builtin_shufflevector(lowFloats, highFloats, 0, 1, 2, 3, 4, 5, 6, 7);
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

// wrapPhases eight at a time, for processors with 256-bit vectors only.
__attribute__((target("avx2"))) inline void wrapPhasesWide(float* phases, int32_t count) {
    int32_t k = 0;
    for (; k + 8 <= count; k += 8) {
        if (!phasewrap::wrapEight(phases + k)) {
            for (int32_t i = k; i < k + 8; ++i) {
                phases[i] = wrapPhase(phases[i]);
            }
        }
    }
    wrapPhases(phases + k, count - k);
}

} // namespace VELMORA
