#pragma once

#include <cmath>
#include <vector>

// A unit sine of `count` samples, computed in double precision.
inline std::vector<float> sine(double frequency, double rate, int count) {
    std::vector<float> samples(static_cast<std::size_t>(count));
    for (int t = 0; t < count; ++t) {
        samples[static_cast<std::size_t>(t)] = static_cast<float>(std::sin(2.0 * M_PI * frequency * t / rate));
    }
    return samples;
}
