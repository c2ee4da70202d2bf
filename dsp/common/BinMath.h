#pragma once

#include "PhaseWrap.h"

#include <cstdint>

namespace VELMORA {

// The arc tangent, sine and cosine that the spectral frames evaluate for every
// bin, on whole arrays. The functions are chosen once, at preparation: the
// vector functions of a library made for them (accurate to one ulp, eight
// values at a time on processors with 256-bit vectors, else four), or the C
// library's, one value at a time.
//
// The two kinds may differ by an ulp; each gives the same bits every time.
// The phase wrap gives the same bits on every path, only faster on wider
// vectors.
class BinMath {
public:
    enum class Path { widestVectors, narrowVectors, library };

    // The C library until prepared otherwise.
    void prepare(Path path);
    // out[k] = atan2(c[2k+1], c[2k]) for k < count, c holding count complex
    // values interleaved (re, im).
    void angles(const float* c, float* out, int32_t count) const { anglesOf(c, out, count); }
    // c[2k] = magnitude[k] * cos(phase[k]), c[2k+1] = magnitude[k] * sin(phase[k])
    // for k < count.
    void polar(const float* magnitude, const float* phase, float* c, int32_t count) const {
        polarOf(magnitude, phase, c, count);
    }
    // wrapPhase on each of count phases in place.
    void wrap(float* phases, int32_t count) const { wrapOf(phases, count); }

private:
    using Angles = void (*)(const float*, float*, int32_t);
    using Polar = void (*)(const float*, const float*, float*, int32_t);
    using Wrap = void (*)(float*, int32_t);

    static void libraryAngles(const float* c, float* out, int32_t count);
    static void libraryPolar(const float* magnitude, const float* phase, float* c, int32_t count);

    Angles anglesOf = libraryAngles;
    Polar polarOf = libraryPolar;
    Wrap wrapOf = wrapPhases;
};

} // namespace VELMORA
