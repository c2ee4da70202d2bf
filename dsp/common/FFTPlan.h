#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VELMORA {

// Tables for the in-place radix-2 complex transform of one size: the
// bit-reversed order and the twiddle factors, produced by exactly the
// single-precision recurrence the plain transform evaluates pass by pass, so
// that the tabled transform gives the same bits while doing less work.
//
// The points are gathered in bit-reversed order into separate arrays of real
// and imaginary parts, where the butterflies run four (on processors with
// 256-bit vectors, in the later passes, eight) at a time without reshuffling,
// and are interleaved again at the end. Each lane performs the plain
// transform's operations in the plain order, so only the order of independent
// butterflies differs.
class FFTPlan {
public:
    // Which butterfly code runs the later passes: the widest the processor
    // offers, or the 128-bit one every x86-64 processor has.
    enum class Vectors { widest, narrow };

    // Prepares for n points (a power of two >= 2); false, leaving the plan
    // empty, for any other n or when memory cannot be had.
    bool prepare(int32_t n, Vectors vectors = Vectors::widest);
    int32_t size() const { return points; }
    // In-place transform of size() points held interleaved (re, im) in buf:
    // sign < 0 forward (kernel e^(-i 2 pi n k / N)), otherwise inverse; unscaled.
    // Works in the plan's own space, so a plan serves one transform at a time.
    void transform(int sign, float* buf);

private:
    void buildOrder();
    void buildTwiddles(int sign);
    std::size_t tableStart(int sign) const;
    void gatherInOrder(const float* buf);
    void interleave(float* buf) const;
    void scalarPasses(const float* w);

    int32_t points = 0;
    // The processor has 256-bit vectors.
    bool wide = false;
    // Where (float index in buf) each point of the bit-reversed sequence lies.
    std::unique_ptr<int32_t[]> order;
    // Per direction: points real parts, then points imaginary parts; the pass
    // with `half` butterflies per block keeps its twiddles at [half, 2 half).
    std::unique_ptr<float[]> twiddles;
    // The points being transformed: real parts, then imaginary parts.
    std::unique_ptr<float[]> work;
};

} // namespace VELMORA
