#include "FFTPlan.h"

#include <cmath>
#include <cstring>
#include <new>

namespace VELMORA {

namespace {

constexpr float kPi = 3.1415927f;
// Sizes below this have too few butterflies per pass to fill the vectors.
constexpr int32_t kVectorPoints = 8;

bool isPowerOfTwo(int32_t n) {
    return n >= 2 && (n & (n - 1)) == 0;
}

// Twiddle floats one direction needs for n points (see twiddleOffset).
std::size_t twiddleFloats(int32_t n) {
    return 2 * static_cast<std::size_t>(n) + 8;
}

// A pass with `half` butterflies per block keeps its twiddles in groups of
// four: four real parts, then four imaginary parts. Passes with fewer than four
// butterflies repeat theirs to fill one group.
int32_t twiddleOffset(int32_t half) {
    return half < 4 ? 8 * (half - 1) : 2 * half + 8;
}

// Where butterfly j of a pass finds the real part of its twiddle (the
// imaginary part is four floats on).
int32_t twiddleIndex(int32_t half, int32_t j) {
    return twiddleOffset(half) + 8 * (j >> 2) + (j & 3);
}

typedef float Quad __attribute__((vector_size(16)));

Quad load(const float* p) {
    Quad v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store(float* p, Quad v) {
    std::memcpy(p, &v, sizeof v);
}

// Four complex values as separate real and imaginary lanes.
struct Split {
    Quad re;
    Quad im;
};

// Butterflies on lanes, each lane with the plain transform's operations in
// its order.
template <class Lanes>
inline void butterfly(Lanes& lower, Lanes& upper, const Lanes& w) {
    const auto tr = upper.re * w.re - upper.im * w.im;
    const auto ti = upper.re * w.im + upper.im * w.re;
    upper.re = lower.re - tr;
    upper.im = lower.im - ti;
    lower.re = lower.re + tr;
    lower.im = lower.im + ti;
}

// Two interleaved points at p and two at p + gap, split into lanes; and back.
inline Split gather(const float* p, int32_t gap) {
    const Quad a = load(p);
    const Quad b = load(p + gap);
    return {__builtin_shufflevector(a, b, 0, 2, 4, 6), __builtin_shufflevector(a, b, 1, 3, 5, 7)};
}

inline void scatter(float* p, int32_t gap, const Split& s) {
    store(p, __builtin_shufflevector(s.re, s.im, 0, 4, 1, 5));
    store(p + gap, __builtin_shufflevector(s.re, s.im, 2, 6, 3, 7));
}

// Four rows become four columns; applied twice it gives the rows back.
inline void transpose(Quad& a, Quad& b, Quad& c, Quad& d) {
    const Quad ab01 = __builtin_shufflevector(a, b, 0, 4, 1, 5);
    const Quad cd01 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
    const Quad ab23 = __builtin_shufflevector(a, b, 2, 6, 3, 7);
    const Quad cd23 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
    a = __builtin_shufflevector(ab01, cd01, 0, 1, 4, 5);
    b = __builtin_shufflevector(ab01, cd01, 2, 3, 6, 7);
    c = __builtin_shufflevector(ab23, cd23, 0, 1, 4, 5);
    d = __builtin_shufflevector(ab23, cd23, 2, 3, 6, 7);
}

// First pass: one butterfly per block of two points; four blocks at a time.
void firstPass(const float* w, float* buf, int32_t span) {
    const Split twiddle{load(w), load(w + 4)};
    for (float* p = buf; p < buf + span; p += 16) {
        Quad a = load(p), b = load(p + 4), c = load(p + 8), d = load(p + 12);
        transpose(a, b, c, d);
        Split lower{a, b};
        Split upper{c, d};
        butterfly(lower, upper, twiddle);
        transpose(lower.re, lower.im, upper.re, upper.im);
        store(p, lower.re);
        store(p + 4, lower.im);
        store(p + 8, upper.re);
        store(p + 12, upper.im);
    }
}

// Second pass: two butterflies per block of four points; two blocks at a time.
void secondPass(const float* w, float* buf, int32_t span) {
    const Split twiddle{load(w), load(w + 4)};
    for (float* p = buf; p < buf + span; p += 16) {
        Split lower = gather(p, 8);
        Split upper = gather(p + 4, 8);
        butterfly(lower, upper, twiddle);
        scatter(p, 8, lower);
        scatter(p + 4, 8, upper);
    }
}

// Any later pass: `half` (a multiple of four) butterflies per block.
void laterPass(const float* w, float* buf, int32_t span, int32_t half) {
    const int32_t le2 = 2 * half;
    for (float* block = buf; block < buf + span; block += 2 * le2) {
        for (int32_t j = 0; j < le2; j += 8) {
            const Split twiddle{load(w + j), load(w + j + 4)};
            Split lower = gather(block + j, 4);
            Split upper = gather(block + le2 + j, 4);
            butterfly(lower, upper, twiddle);
            scatter(block + j, 4, lower);
            scatter(block + le2 + j, 4, upper);
        }
    }
}

typedef float Octet __attribute__((vector_size(32)));

// Eight complex values as real and imaginary lanes, points in the order
// 0 1 4 5 2 3 6 7, which is how shuffles within the halves of 256-bit
// registers leave them.
struct WideSplit {
    Octet re;
    Octet im;
};

inline void gatherWide(const float* p, WideSplit& s) {
    Octet a;
    Octet b;
    std::memcpy(&a, p, sizeof a);
    std::memcpy(&b, p + 8, sizeof b);
    s.re = __builtin_shufflevector(a, b, 0, 2, 8, 10, 4, 6, 12, 14);
    s.im = __builtin_shufflevector(a, b, 1, 3, 9, 11, 5, 7, 13, 15);
}

inline void scatterWide(float* p, const WideSplit& s) {
    const Octet a = __builtin_shufflevector(s.re, s.im, 0, 8, 1, 9, 4, 12, 5, 13);
    const Octet b = __builtin_shufflevector(s.re, s.im, 2, 10, 3, 11, 6, 14, 7, 15);
    std::memcpy(p, &a, sizeof a);
    std::memcpy(p + 8, &b, sizeof b);
}

// The twiddles of eight butterflies from two groups of four, in lane order.
inline void twiddlesWide(const float* w, WideSplit& s) {
    const Quad re = load(w);
    const Quad im = load(w + 4);
    const Quad nextRe = load(w + 8);
    const Quad nextIm = load(w + 12);
    s.re = __builtin_shufflevector(re, nextRe, 0, 1, 4, 5, 2, 3, 6, 7);
    s.im = __builtin_shufflevector(im, nextIm, 0, 1, 4, 5, 2, 3, 6, 7);
}

#if defined(__x86_64__)
// The passes with eight or more butterflies per block, eight at a time, for
// processors with 256-bit vectors. Chosen by hand rather than by the loader
// (target_clones), whose early resolver call the sanitizers do not survive.
__attribute__((target("avx2")))
void widePasses(const float* table, float* buf, int32_t span, int32_t points) {
    for (int32_t half = 8; half < points; half <<= 1) {
        const float* const w = table + twiddleOffset(half);
        const int32_t le2 = 2 * half;
        for (float* block = buf; block < buf + span; block += 2 * le2) {
            for (int32_t j = 0; j < le2; j += 16) {
                WideSplit twiddle;
                WideSplit lower;
                WideSplit upper;
                twiddlesWide(w + j, twiddle);
                gatherWide(block + j, lower);
                gatherWide(block + le2 + j, upper);
                butterfly(lower, upper, twiddle);
                scatterWide(block + j, lower);
                scatterWide(block + le2 + j, upper);
            }
        }
    }
}

bool hasWideVectors() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
#else
void widePasses(const float*, float*, int32_t, int32_t) {}

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
    points = swapCount = 0;
    swaps.reset();
    twiddles.reset();
    if (!isPowerOfTwo(n)) {
        return false;
    }
    // Fewer than n/2 index pairs swap.
    swaps.reset(new (std::nothrow) int32_t[static_cast<std::size_t>(n)]);
    twiddles.reset(new (std::nothrow) float[2 * twiddleFloats(n)]);
    if (!swaps || !twiddles) {
        swaps.reset();
        twiddles.reset();
        return false;
    }
    points = n;
    wide = useWide;
    buildSwaps();
    for (const int sign : {-1, 1}) {
        buildTwiddles(sign);
    }
    return true;
}

void FFTPlan::buildSwaps() {
    const int32_t span = 2 * points;
    for (int32_t i = 2; i < span - 2; i += 2) {
        int32_t j = 0;
        for (int32_t bitm = 2; bitm < span; bitm <<= 1) {
            if ((i & bitm) != 0) {
                ++j;
            }
            j <<= 1;
        }
        if (i < j) {
            swaps[swapCount++] = i;
            swaps[swapCount++] = j;
        }
    }
}

void FFTPlan::buildTwiddles(int sign) {
    float* const out = table(sign);
    for (int32_t half = 1; half < points; half <<= 1) {
        const float arg = kPi / static_cast<float>(half);
        const float wr = std::cos(arg);
        const float wi = static_cast<float>(sign) * std::sin(arg);
        float ur = 1.0f;
        float ui = 0.0f;
        for (int32_t j = 0; j < half; ++j) {
            // Passes of one and two butterflies fill their group of four with copies.
            for (int32_t copy = j; copy < 4 || copy == j; copy += half) {
                out[twiddleIndex(half, copy)] = ur;
                out[twiddleIndex(half, copy) + 4] = ui;
            }
            const float next = ur * wr - ui * wi;
            ui = ur * wi + ui * wr;
            ur = next;
        }
    }
}

float* FFTPlan::table(int sign) const {
    return twiddles.get() + (sign < 0 ? 0 : twiddleFloats(points));
}

void FFTPlan::transform(int sign, float* buf) const {
    if (buf == nullptr || points == 0) {
        return;
    }
    swapPairs(buf);
    if (points < kVectorPoints) {
        smallButterflies(table(sign), buf);
    } else {
        butterflies(table(sign), buf);
    }
}

// Each point moves as one 64-bit word.
void FFTPlan::swapPairs(float* buf) const {
    for (int32_t s = 0; s < swapCount; s += 2) {
        float* const a = buf + swaps[s];
        float* const b = buf + swaps[s + 1];
        std::uint64_t pointA;
        std::uint64_t pointB;
        std::memcpy(&pointA, a, sizeof pointA);
        std::memcpy(&pointB, b, sizeof pointB);
        std::memcpy(a, &pointB, sizeof pointB);
        std::memcpy(b, &pointA, sizeof pointA);
    }
}

void FFTPlan::butterflies(const float* w, float* buf) const {
    const int32_t span = 2 * points;
    firstPass(w + twiddleOffset(1), buf, span);
    secondPass(w + twiddleOffset(2), buf, span);
    laterPass(w + twiddleOffset(4), buf, span, 4);
    if (wide) {
        widePasses(w, buf, span, points);
        return;
    }
    for (int32_t half = 8; half < points; half <<= 1) {
        laterPass(w + twiddleOffset(half), buf, span, half);
    }
}

// One butterfly at a time, for the sizes too small for the vector passes.
void FFTPlan::smallButterflies(const float* w, float* buf) const {
    const int32_t span = 2 * points;
    for (int32_t half = 1; half < points; half <<= 1) {
        const int32_t le2 = 2 * half;
        for (float* lower = buf; lower < buf + span; lower += 2 * le2) {
            float* upper = lower + le2;
            for (int32_t j = 0; j < half; ++j) {
                const float ur = w[twiddleIndex(half, j)];
                const float ui = w[twiddleIndex(half, j) + 4];
                const float tr = upper[2 * j] * ur - upper[2 * j + 1] * ui;
                const float ti = upper[2 * j] * ui + upper[2 * j + 1] * ur;
                upper[2 * j] = lower[2 * j] - tr;
                upper[2 * j + 1] = lower[2 * j + 1] - ti;
                lower[2 * j] += tr;
                lower[2 * j + 1] += ti;
            }
        }
    }
}

} // namespace VELMORA
