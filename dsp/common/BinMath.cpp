#include "BinMath.h"

#include "BinMathLanes.h"

#include <cmath>

#if defined(__x86_64__)
#include <sleef.h>
#endif

namespace VELMORA {

namespace {

#if defined(__x86_64__)
// 128-bit vectors, which every x86-64 processor has.
struct Narrow {
    using Vector = __m128;
    static constexpr int32_t count = 4;

    static Vector load(const float* p) { return _mm_loadu_ps(p); }
    static void store(float* p, Vector v) { _mm_storeu_ps(p, v); }
    static void split(const float* p, Vector& re, Vector& im) {
        const Vector a = load(p);
        const Vector b = load(p + 4);
        re = __builtin_shufflevector(a, b, 0, 2, 4, 6);
        im = __builtin_shufflevector(a, b, 1, 3, 5, 7);
    }
    static void join(Vector re, Vector im, float* p) {
        store(p, __builtin_shufflevector(re, im, 0, 4, 1, 5));
        store(p + 4, __builtin_shufflevector(re, im, 2, 6, 3, 7));
    }
    static Vector atan2(Vector y, Vector x) { return Sleef_atan2f4_u10sse2(y, x); }
    static void sincos(Vector x, Vector& sin, Vector& cos) {
        const Sleef___m128_2 both = Sleef_sincosf4_u10sse2(x);
        sin = both.x;
        cos = both.y;
    }
};

// The 256-bit functions need AVX2 and FMA. Chosen by hand, as the transform's
// passes are, rather than by the loader.
bool hasWideVectors() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
}
#endif

} // namespace

void BinMath::prepare(Path path) {
    anglesOf = libraryAngles;
    polarOf = libraryPolar;
    wrapOf = wrapPhases;
#if defined(__x86_64__)
    if (path == Path::library) {
        return;
    }
    if (path == Path::widestVectors && hasWideVectors()) {
        anglesOf = binmath::anglesWide;
        polarOf = binmath::polarWide;
        wrapOf = wrapPhasesWide;
        return;
    }
    anglesOf = binmath::angles<Narrow>;
    polarOf = binmath::polar<Narrow>;
#else
    (void)path;
#endif
}

// Apart from any other arithmetic, so that the library calls run back to back.
void BinMath::libraryAngles(const float* c, float* out, int32_t count) {
    for (int32_t k = 0; k < count; ++k) {
        out[k] = std::atan2(c[2 * k + 1], c[2 * k]);
    }
}

void BinMath::libraryPolar(const float* magnitude, const float* phase, float* c, int32_t count) {
    for (int32_t k = 0; k < count; ++k) {
        // One read, so that the compiler can pair the two calls into one sincos.
        const float p = phase[k];
        c[2 * k] = magnitude[k] * std::cos(p);
        c[2 * k + 1] = magnitude[k] * std::sin(p);
    }
}

} // namespace VELMORA
