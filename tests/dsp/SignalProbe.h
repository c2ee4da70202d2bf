#pragma once

// Independent references for the spectral tests: test signals, and DFT
// measurements evaluated directly in double precision.

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

namespace probe {

inline std::vector<float> sine(double frequency, double rate, int count, double amplitude = 1.0) {
    std::vector<float> samples(static_cast<std::size_t>(count));
    for (int t = 0; t < count; ++t) {
        samples[static_cast<std::size_t>(t)] =
            static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * t / rate));
    }
    return samples;
}

inline std::vector<float> noise(std::size_t count, unsigned seed = 7, float amplitude = 0.5f) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> samples(count);
    for (float& s : samples) {
        s = uniform(random);
    }
    return samples;
}

inline std::vector<double> hannWindowed(const std::vector<float>& x) {
    std::vector<double> windowed(x.size());
    const double n = static_cast<double>(x.size());
    for (std::size_t t = 0; t < x.size(); ++t) {
        windowed[t] = (0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(t) / n)) * x[t];
    }
    return windowed;
}

// Magnitude of the DFT of the windowed x at one frequency (any real value).
inline double magnitudeOfWindowed(const std::vector<double>& x, double frequency, double rate) {
    const double step = 2.0 * M_PI * frequency / rate;
    // The kernel e^(-i step t) advances by one rotation per sample.
    const double rotRe = std::cos(step), rotIm = -std::sin(step);
    double kernelRe = 1.0, kernelIm = 0.0, re = 0.0, im = 0.0;
    for (std::size_t t = 0; t < x.size(); ++t) {
        re += x[t] * kernelRe;
        im += x[t] * kernelIm;
        const double nextRe = kernelRe * rotRe - kernelIm * rotIm;
        kernelIm = kernelRe * rotIm + kernelIm * rotRe;
        kernelRe = nextRe;
    }
    return std::sqrt(re * re + im * im);
}

// Magnitude of the Hann-windowed DFT of x at one frequency.
inline double magnitudeAt(const std::vector<float>& x, double frequency, double rate) {
    return magnitudeOfWindowed(hannWindowed(x), frequency, rate);
}

// Frequency of the largest peak between low and high: a scan in steps of one
// bin of x's length, then a fine scan around the best point.
inline double peakFrequency(const std::vector<float>& x, double rate, double low, double high) {
    const std::vector<double> windowed = hannWindowed(x);
    auto best = [&](double from, double to, double step) {
        double where = from, largest = -1.0;
        for (double f = from; f <= to; f += step) {
            const double m = magnitudeOfWindowed(windowed, f, rate);
            if (m > largest) {
                largest = m;
                where = f;
            }
        }
        return where;
    };
    const double bin = rate / static_cast<double>(x.size());
    const double centre = best(low, high, bin);
    return best(centre - bin, centre + bin, bin / 64.0);
}

inline double energy(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t t = from; t < to && t < x.size(); ++t) {
        sum += static_cast<double>(x[t]) * x[t];
    }
    return sum;
}

inline std::vector<float> stretch(const std::vector<float>& x, std::size_t begin, std::size_t count) {
    return {x.begin() + static_cast<std::ptrdiff_t>(begin), x.begin() + static_cast<std::ptrdiff_t>(begin + count)};
}

// The amplitude of a sine within one stretch of x: a Hann-windowed sine of
// amplitude a has the DFT magnitude a * count / 4.
inline double level(const std::vector<float>& x, std::size_t begin, std::size_t count, double rate,
                    double frequency) {
    return 4.0 * magnitudeAt(stretch(x, begin, count), frequency, rate) / static_cast<double>(count);
}

inline double peakFrequency(const std::vector<float>& x, std::size_t begin, std::size_t count, double rate,
                            double low, double high) {
    return peakFrequency(stretch(x, begin, count), rate, low, high);
}

} // namespace probe
