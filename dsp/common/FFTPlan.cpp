#include "FFTPlan.h"

#include <cmath>
#include <cstring>
#include <new>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace VELMORA {

namespace {

constexpr float kPi = 3.1415927f;
// Sizes below this have too few points for the vector passes.
constexpr int32_t kVectorPoints = 8;

bool isPowerOfTwo(int32_t n) {
    return n >= 2 && (n & (n - 1)) == 0;
}

typedef float Quad __attribute__((vector_size(16)));
typedef float Octet __attribute__((vector_size(32)));

// Vectors pass by reference only, so that the 256-bit ones never cross a
// call boundary of code built without AVX.
template <class Lanes>
inline void load(const float* p, Lanes& v) {
    std::memcpy(&v, p, sizeof v);
}

template <class Lanes>
inline void store(float* p, const Lanes& v) {
    std::memcpy(p, &v, sizeof v);
}

// Butterflies on lanes, each lane with the plain transform's operations in
// its order.
template <class Lanes>
inline void butterfly(Lanes& lowerRe, Lanes& lowerIm, Lanes& upperRe, Lanes& upperIm, const Lanes& wRe,
                      const Lanes& wIm) {
    const Lanes tr = upperRe * wRe - upperIm * wIm;
    const Lanes ti = upperRe * wIm + upperIm * wRe;
    upperRe = lowerRe - tr;
    upperIm = lowerIm - ti;
    lowerRe = lowerRe + tr;
    lowerIm = lowerIm + ti;
}

// The real and imaginary lanes of a group of points, loaded from and stored
// to the split arrays at one index.
template <class Lanes>
struct Points {
    Lanes re;
    Lanes im;

    void loadFrom(const float* reals, const float* imags, int32_t at) {
        load(reals + at, re);
        load(imags + at, im);
    }
    void storeTo(float* reals, float* imags, int32_t at) const {
        store(reals + at, re);
        store(imags + at, im);
    }
};

template <class Lanes>
inline void butterfly(Points<Lanes>& lower, Points<Lanes>& upper, const Points<Lanes>& w) {
    butterfly(lower.re, lower.im, upper.re, upper.im, w.re, w.im);
}

// One pass with `half` butterflies per block (a multiple of the lane count)
// over n points split into re and im.
template <class Lanes>
__attribute__((always_inline)) inline void onePass(const float* w, float* re, float* im, int32_t n, int32_t half) {
    constexpr int32_t lanes = sizeof(Lanes) / sizeof(float);
    for (int32_t block = 0; block < n; block += 2 * half) {
        for (int32_t j = block; j < block + half; j += lanes) {
            Points<Lanes> lower, upper, twiddle;
            lower.loadFrom(re, im, j);
            upper.loadFrom(re, im, j + half);
            twiddle.loadFrom(w, w + n, half + j - block);
            butterfly(lower, upper, twiddle);
            lower.storeTo(re, im, j);
            upper.storeTo(re, im, j + half);
        }
    }
}

// The passes with `half` and 2 half butterflies per block in one sweep: each
// group of four points a, b, c, d (half apart) goes through the first pass's
// butterflies (a b) and (c d), then the second's (a c) and (b d), each with
// its own twiddle, before it is stored again.
template <class Lanes>
__attribute__((always_inline)) inline void twoPasses(const float* w, float* re, float* im, int32_t n, int32_t half) {
    constexpr int32_t lanes = sizeof(Lanes) / sizeof(float);
    for (int32_t block = 0; block < n; block += 4 * half) {
        for (int32_t j = block; j < block + half; j += lanes) {
            const int32_t t = j - block;
            Points<Lanes> a, b, c, d, twiddle;
            a.loadFrom(re, im, j);
            b.loadFrom(re, im, j + half);
            c.loadFrom(re, im, j + 2 * half);
            d.loadFrom(re, im, j + 3 * half);
            twiddle.loadFrom(w, w + n, half + t);
            butterfly(a, b, twiddle);
            butterfly(c, d, twiddle);
            twiddle.loadFrom(w, w + n, 2 * half + t);
            butterfly(a, c, twiddle);
            twiddle.loadFrom(w, w + n, 3 * half + t);
            butterfly(b, d, twiddle);
            a.storeTo(re, im, j);
            b.storeTo(re, im, j + half);
            c.storeTo(re, im, j + 2 * half);
            d.storeTo(re, im, j + 3 * half);
        }
    }
}

// The passes with `from` or more butterflies per block (a multiple of the
// lane count), two at a time while two remain. Always inlined, so that the
// 256-bit form is compiled for the processor that runs it.
template <class Lanes>
__attribute__((always_inline)) inline void laterPasses(const float* w, float* re, float* im, int32_t n,
                                                       int32_t from) {
    int32_t half = from;
    for (; 2 * half < n; half <<= 2) {
        twoPasses<Lanes>(w, re, im, n, half);
    }
    if (half < n) {
        onePass<Lanes>(w, re, im, n, half);
    }
}

// The twiddles of one of the first passes for four lanes: lane l takes
// butterfly l mod half.
inline void earlyTwiddles(const float* w, int32_t n, int32_t half, Quad& wRe, Quad& wIm) {
    for (int32_t lane = 0; lane < 4; ++lane) {
        wRe[lane] = w[half + lane % half];
        wIm[lane] = w[n + half + lane % half];
    }
}

// The passes of one, two and four butterflies per block, on blocks of eight
// points. The lanes are regrouped between passes so that each pass pairs the
// right points.
__attribute__((always_inline)) inline void firstPasses(const float* w, float* re, float* im, int32_t points) {
    Quad w1Re, w1Im, w2Re, w2Im, w4Re, w4Im;
    earlyTwiddles(w, points, 1, w1Re, w1Im);
    earlyTwiddles(w, points, 2, w2Re, w2Im);
    earlyTwiddles(w, points, 4, w4Re, w4Im);
    for (int32_t block = 0; block < points; block += 8) {
        Quad r0, r1, i0, i1;
        load(re + block, r0);
        load(re + block + 4, r1);
        load(im + block, i0);
        load(im + block + 4, i1);
        // Pairs (0 1) (2 3) (4 5) (6 7).
        Quad lr = __builtin_shufflevector(r0, r1, 0, 2, 4, 6);
        Quad li = __builtin_shufflevector(i0, i1, 0, 2, 4, 6);
        Quad ur = __builtin_shufflevector(r0, r1, 1, 3, 5, 7);
        Quad ui = __builtin_shufflevector(i0, i1, 1, 3, 5, 7);
        butterfly(lr, li, ur, ui, w1Re, w1Im);
        // Points 0 2 4 6 in the lower lanes, 1 3 5 7 in the upper; now pairs
        // (0 2) (1 3) (4 6) (5 7).
        Quad lr2 = __builtin_shufflevector(lr, ur, 0, 4, 2, 6);
        Quad li2 = __builtin_shufflevector(li, ui, 0, 4, 2, 6);
        Quad ur2 = __builtin_shufflevector(lr, ur, 1, 5, 3, 7);
        Quad ui2 = __builtin_shufflevector(li, ui, 1, 5, 3, 7);
        butterfly(lr2, li2, ur2, ui2, w2Re, w2Im);
        // Points 0 1 4 5 and 2 3 6 7; now pairs (0 4) (1 5) (2 6) (3 7).
        Quad lr4 = __builtin_shufflevector(lr2, ur2, 0, 1, 4, 5);
        Quad li4 = __builtin_shufflevector(li2, ui2, 0, 1, 4, 5);
        Quad ur4 = __builtin_shufflevector(lr2, ur2, 2, 3, 6, 7);
        Quad ui4 = __builtin_shufflevector(li2, ui2, 2, 3, 6, 7);
        butterfly(lr4, li4, ur4, ui4, w4Re, w4Im);
        store(re + block, lr4);
        store(re + block + 4, ur4);
        store(im + block, li4);
        store(im + block + 4, ui4);
    }
}

#if defined(__x86_64__)
// The 256-bit forms, chosen by hand rather than by the loader (target_clones),
// whose early resolver call the sanitizers do not survive. The first passes
// keep their 128-bit lanes, with three-operand instructions that need fewer
// copies.
__attribute__((target("avx2")))
void firstPassesWide(const float* w, float* re, float* im, int32_t points) {
    firstPasses(w, re, im, points);
}

__attribute__((target("avx2")))
void widePasses(const float* w, float* re, float* im, int32_t n) {
    laterPasses<Octet>(w, re, im, n, 8);
}

// Eight points at a time by vector gathers.
__attribute__((target("avx2")))
void gatherWide(const float* buf, const int32_t* order, float* re, float* im, int32_t points) {
    for (int32_t i = 0; i < points; i += 8) {
        const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(order + i));
        _mm256_storeu_ps(re + i, _mm256_i32gather_ps(buf, at, 4));
        _mm256_storeu_ps(im + i, _mm256_i32gather_ps(buf + 1, at, 4));
    }
}

bool hasWideVectors() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
#else
void gatherWide(const float* buf, const int32_t* order, float* re, float* im, int32_t points) {
    for (int32_t i = 0; i < points; ++i) {
        re[i] = buf[order[i]];
        im[i] = buf[order[i] + 1];
    }
}

void firstPassesWide(const float* w, float* re, float* im, int32_t points) {
    firstPasses(w, re, im, points);
}

void widePasses(const float* w, float* re, float* im, int32_t n) {
    laterPasses<Quad>(w, re, im, n, 8);
}

bool hasWideVectors() {
    return false;
}
#endif

} // namespace

bool FFTPlan::prepare(int32_t n, Vectors vectors) {
    const bool useWide = vectors == Vectors::widest && hasWideVectors();
    if (n == points && points != 0 && useWide == wide) {
        return true;
    }
    points = 0;
    order.reset();
    twiddles.reset();
    work.reset();
    if (!isPowerOfTwo(n)) {
        return false;
    }
    const auto size = static_cast<std::size_t>(n);
    order.reset(new (std::nothrow) int32_t[size]);
    twiddles.reset(new (std::nothrow) float[4 * size]);
    work.reset(new (std::nothrow) float[2 * size]);
    if (!order || !twiddles || !work) {
        order.reset();
        twiddles.reset();
        work.reset();
        return false;
    }
    points = n;
    wide = useWide;
    buildOrder();
    for (const int sign : {-1, 1}) {
        buildTwiddles(sign);
    }
    return true;
}

// The plain transform's bit-reversal swaps, applied to the identity.
void FFTPlan::buildOrder() {
    const int32_t span = 2 * points;
    for (int32_t i = 0; i < points; ++i) {
        order[i] = 2 * i;
    }
    for (int32_t i = 2; i < span - 2; i += 2) {
        int32_t j = 0;
        for (int32_t bitm = 2; bitm < span; bitm <<= 1) {
            if ((i & bitm) != 0) {
                ++j;
            }
            j <<= 1;
        }
        if (i < j) {
            order[i / 2] = j;
            order[j / 2] = i;
        }
    }
}

void FFTPlan::buildTwiddles(int sign) {
    float* const out = twiddles.get() + tableStart(sign);
    for (int32_t half = 1; half < points; half <<= 1) {
        const float arg = kPi / static_cast<float>(half);
        const float wr = std::cos(arg);
        const float wi = static_cast<float>(sign) * std::sin(arg);
        float ur = 1.0f;
        float ui = 0.0f;
        for (int32_t j = 0; j < half; ++j) {
            out[half + j] = ur;
            out[points + half + j] = ui;
            const float next = ur * wr - ui * wi;
            ui = ur * wi + ui * wr;
            ur = next;
        }
    }
}

std::size_t FFTPlan::tableStart(int sign) const {
    return sign < 0 ? 0 : 2 * static_cast<std::size_t>(points);
}

void FFTPlan::transform(int sign, float* buf) {
    if (buf == nullptr || points == 0) {
        return;
    }
    const float* const w = twiddles.get() + tableStart(sign);
    float* const re = work.get();
    float* const im = re + points;
    if (wide && points >= kVectorPoints) {
        gatherWide(buf, order.get(), re, im, points);
    } else {
        gatherInOrder(buf);
    }
    if (points < kVectorPoints) {
        scalarPasses(w);
    } else {
        if (wide) {
            firstPassesWide(w, re, im, points);
            widePasses(w, re, im, points);
        } else {
            firstPasses(w, re, im, points);
            laterPasses<Quad>(w, re, im, points, 8);
        }
    }
    interleave(buf);
}

void FFTPlan::gatherInOrder(const float* buf) {
    float* const re = work.get();
    float* const im = re + points;
    for (int32_t i = 0; i < points; ++i) {
        re[i] = buf[order[i]];
        im[i] = buf[order[i] + 1];
    }
}

void FFTPlan::interleave(float* buf) const {
    const float* const re = work.get();
    const float* const im = re + points;
    int32_t i = 0;
    for (; i + 4 <= points; i += 4) {
        Quad r, m;
        load(re + i, r);
        load(im + i, m);
        store(buf + 2 * i, __builtin_shufflevector(r, m, 0, 4, 1, 5));
        store(buf + 2 * i + 4, __builtin_shufflevector(r, m, 2, 6, 3, 7));
    }
    for (; i < points; ++i) {
        buf[2 * i] = re[i];
        buf[2 * i + 1] = im[i];
    }
}

// One butterfly at a time, for the sizes too small for the vector passes.
void FFTPlan::scalarPasses(const float* w) {
    float* const re = work.get();
    float* const im = re + points;
    for (int32_t half = 1; half < points; half <<= 1) {
        for (int32_t block = 0; block < points; block += 2 * half) {
            for (int32_t j = 0; j < half; ++j) {
                float* const lowRe = re + block + j;
                float* const lowIm = im + block + j;
                butterfly(*lowRe, *lowIm, lowRe[half], lowIm[half], w[half + j], w[points + half + j]);
            }
        }
    }
}

} // namespace VELMORA
