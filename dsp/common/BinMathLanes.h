#pragma once

// BinMath's loops on vectors of any width. A Lanes type gives the width and
// the vector functions:
//   using Vector;                  `count` floats
//   static constexpr int32_t count;
//   static Vector load(const float* p);
//   static void store(float* p, Vector v);
//   static void split(const float* p, Vector& re, Vector& im);  `count` complex values
//   static void join(Vector re, Vector im, float* p);
//   static Vector atan2(Vector y, Vector x);
//   static void sincos(Vector x, Vector& sin, Vector& cos);
// The last few values, too few for a vector, go through the same functions
// padded with zeros, so every bin of a frame is computed alike.
//
// This header is also compiled for 256-bit vectors (BinMathWide.cpp): it must
// define nothing that could be shared with code built for other processors,
// which the Lanes types of internal linkage ensure for the templates.

#include <cstdint>
#include <cstring>

namespace VELMORA::binmath {

template <class Lanes>
void angles(const float* c, float* out, int32_t count) {
    using Vector = typename Lanes::Vector;
    constexpr int32_t n = Lanes::count;
    int32_t k = 0;
    for (; k + n <= count; k += n) {
        Vector re;
        Vector im;
        Lanes::split(c + 2 * k, re, im);
        Lanes::store(out + k, Lanes::atan2(im, re));
    }
    if (k < count) {
        const auto rest = static_cast<std::size_t>(count - k);
        float padded[2 * n] = {};
        float result[n];
        std::memcpy(padded, c + 2 * k, 2 * rest * sizeof(float));
        Vector re;
        Vector im;
        Lanes::split(padded, re, im);
        Lanes::store(result, Lanes::atan2(im, re));
        std::memcpy(out + k, result, rest * sizeof(float));
    }
}

template <class Lanes>
void polarGroup(const float* magnitude, const float* phase, float* c) {
    using Vector = typename Lanes::Vector;
    Vector sin;
    Vector cos;
    Lanes::sincos(Lanes::load(phase), sin, cos);
    const Vector m = Lanes::load(magnitude);
    Lanes::join(m * cos, m * sin, c);
}

template <class Lanes>
void polar(const float* magnitude, const float* phase, float* c, int32_t count) {
    constexpr int32_t n = Lanes::count;
    int32_t k = 0;
    for (; k + n <= count; k += n) {
        polarGroup<Lanes>(magnitude + k, phase + k, c + 2 * k);
    }
    if (k < count) {
        const auto rest = static_cast<std::size_t>(count - k);
        float m[n] = {};
        float p[n] = {};
        float result[2 * n];
        std::memcpy(m, magnitude + k, rest * sizeof(float));
        std::memcpy(p, phase + k, rest * sizeof(float));
        polarGroup<Lanes>(m, p, result);
        std::memcpy(c + 2 * k, result, 2 * rest * sizeof(float));
    }
}

// The 256-bit forms (BinMathWide.cpp), for processors with AVX2 and FMA only.
void anglesWide(const float* c, float* out, int32_t count);
void polarWide(const float* magnitude, const float* phase, float* c, int32_t count);

} // namespace VELMORA::binmath
