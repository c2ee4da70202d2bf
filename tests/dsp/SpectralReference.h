#pragma once

// Independent double-precision measurements for the spectral tests: a windowed
// DFT evaluated at any frequency, so the engine's own analysis is never used to
// check itself.

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

namespace spectral_reference {

inline std::vector<float> sine(double frequency, double rate, std::size_t count, double amplitude = 1.0)
{
    std::vector<float> samples(count);
    for (std::size_t t = 0; t < count; ++t)
        samples[t] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * static_cast<double>(t) / rate));
    return samples;
}

inline std::vector<float> noise(std::size_t count, unsigned seed = 7, float amplitude = 0.5f)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> samples(count);
    for (float& s : samples)
        s = uniform(random);
    return samples;
}

// A stretch of samples through a Hann window, ready for DFT evaluation.
struct Windowed {
    std::vector<double> samples;
    double windowSum = 0.0;
};

inline Windowed windowed(const std::vector<float>& samples, std::size_t begin, std::size_t count)
{
    Windowed result;
    result.samples.resize(count);
    for (std::size_t t = 0; t < count; ++t) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(t) / static_cast<double>(count));
        result.samples[t] = w * samples[begin + t];
        result.windowSum += w;
    }
    return result;
}

// Amplitude of the component at `frequency` (a full-scale sine reads about 1).
// The DFT kernel turns by a unit phasor, so no trigonometry runs per sample.
inline double level(const Windowed& input, double rate, double frequency)
{
    const double step = 2.0 * M_PI * frequency / rate;
    const double turnRe = std::cos(step);
    const double turnIm = -std::sin(step);
    double kernelRe = 1.0;
    double kernelIm = 0.0;
    double re = 0.0;
    double im = 0.0;
    for (double x : input.samples) {
        re += x * kernelRe;
        im += x * kernelIm;
        const double nextRe = kernelRe * turnRe - kernelIm * turnIm;
        kernelIm = kernelRe * turnIm + kernelIm * turnRe;
        kernelRe = nextRe;
    }
    return 2.0 * std::sqrt(re * re + im * im) / input.windowSum;
}

inline double level(const std::vector<float>& samples, std::size_t begin, std::size_t count, double rate,
                    double frequency)
{
    return level(windowed(samples, begin, count), rate, frequency);
}

// Frequency of the strongest component between low and high Hz: a coarse scan,
// then a fine one around the best coarse point (the zero-padded DFT peak).
inline double peakFrequency(const std::vector<float>& samples, std::size_t begin, std::size_t count, double rate,
                            double low, double high)
{
    const Windowed input = windowed(samples, begin, count);
    auto scan = [&](double from, double to, double step) {
        double best = from;
        double bestLevel = -1.0;
        for (double f = from; f <= to; f += step) {
            const double l = level(input, rate, f);
            if (l > bestLevel) {
                bestLevel = l;
                best = f;
            }
        }
        return best;
    };
    const double coarse = scan(low, high, 4.0);
    return scan(coarse - 4.0, coarse + 4.0, 0.05);
}

inline double rms(const std::vector<float>& samples, std::size_t begin, std::size_t count)
{
    double sum = 0.0;
    for (std::size_t t = begin; t < begin + count; ++t)
        sum += static_cast<double>(samples[t]) * samples[t];
    return std::sqrt(sum / static_cast<double>(count));
}

} // namespace spectral_reference
