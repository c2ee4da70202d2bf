// Built for processors with AVX2 and FMA; reached only through BinMath, which
// checks the processor first.
#include "BinMathLanes.h"

#if defined(__x86_64__)
#include <sleef.h>

namespace VELMORA::binmath {

namespace {

struct Wide {
    using Vector = __m256;
    static constexpr int32_t count = 8;

    static Vector load(const float* p) { return _mm256_loadu_ps(p); }
    static void store(float* p, Vector v) { _mm256_storeu_ps(p, v); }
    static void split(const float* p, Vector& re, Vector& im) {
        const Vector a = load(p);
        const Vector b = load(p + 8);
        re = __builtin_shufflevector(a, b, 0, 2, 4, 6, 8, 10, 12, 14);
        im = __builtin_shufflevector(a, b, 1, 3, 5, 7, 9, 11, 13, 15);
    }
    static void join(Vector re, Vector im, float* p) {
        store(p, __builtin_shufflevector(re, im, 0, 8, 1, 9, 2, 10, 3, 11));
        store(p + 8, __builtin_shufflevector(re, im, 4, 12, 5, 13, 6, 14, 7, 15));
    }
    static Vector atan2(Vector y, Vector x) { return Sleef_atan2f8_u10avx2(y, x); }
    static void sincos(Vector x, Vector& sin, Vector& cos) {
        const Sleef___m256_2 both = Sleef_sincosf8_u10avx2(x);
        sin = both.x;
        cos = both.y;
    }
};

} // namespace

void anglesWide(const float* c, float* out, int32_t count) {
    angles<Wide>(c, out, count);
}

void polarWide(const float* magnitude, const float* phase, float* c, int32_t count) {
    polar<Wide>(magnitude, phase, c, count);
}

} // namespace VELMORA::binmath
#endif
