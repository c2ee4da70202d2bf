#pragma once

// Independent double-precision measurements for the spectral tests: a windowed
// DFT evaluated at any frequency, so the engine's own analysis is never used to
// check itself.

#include <cmath>
#include <cstddef>
#include <vector>

namespace spectral_reference {

inline std::vector<float> sine(double frequency, double rate, std::size_t count, double amplitude = 1.0)
{
    std::vector<float> samples(count);
    for (std::size_t t = 0; t < count; ++t)
        samples[t] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * static_cast<double>(t) / rate));
    return samples;
}

// Amplitude of the component at `frequency` in samples[begin, begin + count),
// through a Hann window (a full-scale sine reads about 1).
inline double level(const std::vector<float>& samples, std::size_t begin, std::size_t count, double rate,
                    double frequency)
{
    double re = 0.0;
    double im = 0.0;
    double windowSum = 0.0;
    for (std::size_t t = 0; t < count; ++t) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(t) / static_cast<double>(count));
        const double phase = 2.0 * M_PI * frequency * static_cast<double>(t) / rate;
        re += w * samples[begin + t] * std::cos(phase);
        im -= w * samples[begin + t] * std::sin(phase);
        windowSum += w;
    }
    return 2.0 * std::sqrt(re * re + im * im) / windowSum;
}

// Frequency of the strongest component between low and high Hz: a coarse scan,
// then a fine one around the best coarse point (the zero-padded DFT peak).
inline double peakFrequency(const std::vector<float>& samples, std::size_t begin, std::size_t count, double rate,
                            double low, double high)
{
    auto scan = [&](double from, double to, double step) {
        double best = from;
        double bestLevel = -1.0;
        for (double f = from; f <= to; f += step) {
            const double l = level(samples, begin, count, rate, f);
            if (l > bestLevel) {
                bestLevel = l;
                best = f;
            }
        }
        return best;
    };
    const double coarse = scan(low, high, 2.0);
    return scan(coarse - 2.0, coarse + 2.0, 0.05);
}

inline double rms(const std::vector<float>& samples, std::size_t begin, std::size_t count)
{
    double sum = 0.0;
    for (std::size_t t = begin; t < begin + count; ++t)
        sum += static_cast<double>(samples[t]) * samples[t];
    return std::sqrt(sum / static_cast<double>(count));
}

} // namespace spectral_reference
