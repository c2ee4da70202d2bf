#pragma once

#include <cstdint>
#include <memory>

namespace VELMORA {

// Tables for the in-place radix-2 complex transform of one size: the
// bit-reversal swaps and the twiddle factors, produced by exactly the
// single-precision recurrence the plain transform evaluates pass by pass, so
// that the tabled transform gives the same bits while doing less work.
//
// The butterflies run four (on processors with 256-bit vectors, in the later
// passes, eight) at a time on vectors of real and imaginary parts; each lane
// performs the plain transform's operations in the plain order, so only the
// order of independent butterflies differs.
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
    void transform(int sign, float* buf) const;

private:
    void buildSwaps();
    void buildTwiddles(int sign);
    float* table(int sign) const;
    void swapPairs(float* buf) const;
    void butterflies(const float* w, float* buf) const;
    void smallButterflies(const float* w, float* buf) const;

    int32_t points = 0;
    int32_t swapCount = 0;
    // The processor has 256-bit vectors.
    bool wide = false;
    std::unique_ptr<int32_t[]> swaps;
    std::unique_ptr<float[]> twiddles;
};

} // namespace VELMORA
