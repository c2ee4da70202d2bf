#pragma once

// The spectral tests' references, built on the shared probe: deterministic noise,
// and the probe's DFT measurements over one stretch of a longer signal, with the
// level read as the amplitude of a sine (a full-scale sine reads about 1).

#include <cstddef>
#include <random>
#include <vector>

#include "SignalProbe.h"

namespace spectral_reference {

using probe::sine;

inline std::vector<float> noise(std::size_t count, unsigned seed = 7, float amplitude = 0.5f)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> samples(count);
    for (float& s : samples)
        s = uniform(random);
    return samples;
}

inline std::vector<float> stretch(const std::vector<float>& samples, std::size_t begin, std::size_t count)
{
    return std::vector<float>(samples.begin() + static_cast<std::ptrdiff_t>(begin),
                              samples.begin() + static_cast<std::ptrdiff_t>(begin + count));
}

// A Hann-windowed sine of amplitude a has the DFT magnitude a * count / 4.
inline double level(const std::vector<float>& samples, std::size_t begin, std::size_t count, double rate,
                    double frequency)
{
    return 4.0 * probe::magnitudeAt(stretch(samples, begin, count), frequency, rate) / static_cast<double>(count);
}

inline double peakFrequency(const std::vector<float>& samples, std::size_t begin, std::size_t count, double rate,
                            double low, double high)
{
    return probe::peakFrequency(stretch(samples, begin, count), rate, low, high);
}

} // namespace spectral_reference
