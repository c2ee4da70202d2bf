#include "FFTPlan.h"

#include <cmath>
#include <new>
#include <utility>

namespace VELMORA {

namespace {

constexpr float kPi = 3.1415927f;

bool isPowerOfTwo(int32_t n) {
    return n >= 2 && (n & (n - 1)) == 0;
}

} // namespace

bool FFTPlan::prepare(int32_t n) {
    if (n == points && points != 0) {
        return true;
    }
    points = swapCount = 0;
    swaps.reset();
    twiddles.reset();
    if (!isPowerOfTwo(n)) {
        return false;
    }
    // Fewer than n/2 index pairs swap; the twiddles of all passes add up to n - 1.
    swaps.reset(new (std::nothrow) int32_t[static_cast<std::size_t>(n)]);
    twiddles.reset(new (std::nothrow) float[4 * static_cast<std::size_t>(n)]);
    if (!swaps || !twiddles) {
        swaps.reset();
        twiddles.reset();
        return false;
    }
    points = n;
    buildSwaps();
    buildTwiddles();
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

// The pass with half-span le2 keeps its le2/2 twiddles at pair offset
// le2/2 - 1; the forward direction's table comes first, the inverse's after it.
void FFTPlan::buildTwiddles() {
    for (const int sign : {-1, 1}) {
        buildTwiddles(sign);
    }
}

void FFTPlan::buildTwiddles(int sign) {
    for (int32_t le2 = 2; le2 <= points; le2 <<= 1) {
        const float arg = kPi / static_cast<float>(le2 >> 1);
        const float wr = std::cos(arg);
        const float wi = static_cast<float>(sign) * std::sin(arg);
        float ur = 1.0f;
        float ui = 0.0f;
        float* out = table(sign) + 2 * ((le2 >> 1) - 1);
        for (int32_t j = 0; j < le2; j += 2) {
            out[j] = ur;
            out[j + 1] = ui;
            const float next = ur * wr - ui * wi;
            ui = ur * wi + ui * wr;
            ur = next;
        }
    }
}

float* FFTPlan::table(int sign) const {
    return twiddles.get() + (sign < 0 ? 0 : 2 * static_cast<std::size_t>(points));
}

void FFTPlan::transform(int sign, float* buf) const {
    if (buf == nullptr || points == 0) {
        return;
    }
    for (int32_t s = 0; s < swapCount; s += 2) {
        const int32_t i = swaps[s];
        const int32_t j = swaps[s + 1];
        std::swap(buf[i], buf[j]);
        std::swap(buf[i + 1], buf[j + 1]);
    }
    butterflies(sign, buf);
}

void FFTPlan::butterflies(int sign, float* buf) const {
    const int32_t span = 2 * points;
    const float* const all = table(sign);
    for (int32_t le2 = 2; le2 <= points; le2 <<= 1) {
        const int32_t le = le2 << 1;
        const float* w = all + 2 * ((le2 >> 1) - 1);
        for (int32_t block = 0; block < span; block += le) {
            float* lower = buf + block;
            float* upper = lower + le2;
            for (int32_t j = 0; j < le2; j += 2) {
                const float ur = w[j];
                const float ui = w[j + 1];
                const float tr = upper[j] * ur - upper[j + 1] * ui;
                const float ti = upper[j] * ui + upper[j + 1] * ur;
                upper[j] = lower[j] - tr;
                upper[j + 1] = lower[j + 1] - ti;
                lower[j] += tr;
                lower[j + 1] += ti;
            }
        }
    }
}

} // namespace VELMORA
