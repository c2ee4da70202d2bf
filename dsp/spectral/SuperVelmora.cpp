#include "SuperVelmora.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VELMORA {

namespace {

constexpr double kHighestBand = 880.0;  // Hz
constexpr double kLowestBand = 110.0;   // Hz
constexpr double kSmallestScale = 2.0;
constexpr double kBandStart = 0.9;
constexpr double kBandEnd = 1.1;
constexpr float kTwoPi = 6.2831855f;
constexpr float kWidth = 10.0f;
constexpr float kWaveletGain = 1.8827925275534296f;

} // namespace

SuperVelmora::SuperVelmora(int size, int overlap, float samplerate) : FFTBase(size, overlap, samplerate) {
    complex2.ensure(2 * (fftFrameSize + 1));
}

void SuperVelmora::process(float* samples, int count) {
    processInPlace(samples, count);
}

void SuperVelmora::doOutput(float* out) {
    out = out != nullptr ? out : output.getBuffer();
    const float* acc = resynth.getBuffer();
    if (out == nullptr || acc == nullptr) {
        return;
    }
    for (int32_t k = 0; k < stepSize; ++k) {
        out[k] += acc[k];
    }
}

void SuperVelmora::init() {
    FFTBase::init();
    complex2.ensure(2 * (fftFrameSize + 1));
}

void SuperVelmora::clear() {
    FFTBase::clear();
    complex2.clear();
}

void SuperVelmora::complex2buffer2(float* spectrum, float) {
    complex2buffer(spectrum, nullptr);
}

void SuperVelmora::onBufferReady() {
    float* spectrum = complex.getBuffer();
    float* band = complex2.getBuffer();
    if (spectrum == nullptr || band == nullptr) {
        return;
    }
    const double rate = fSamplerate;
    const double n = fftFrameSize;
    const double hi = rate / kLowestBand;
    const double lo = std::max(rate / kHighestBand, kSmallestScale);
    const double ratio = std::pow(hi / lo, 1.0 / (hi - lo));
    const double maxScales = (hi - lo) + 2.0;
    const int32_t bandFloats = complex2.getSize();

    buffer2complex(nullptr, nullptr);
    output.clear();
    double s = lo;
    for (int scales = 0; s <= hi && scales < maxScales; ++scales, s *= ratio) {
        std::memset(band, 0, sizeof(float) * static_cast<std::size_t>(bandFloats));
        const auto first = static_cast<int32_t>(std::floor(kBandStart * n / s));
        const auto end = static_cast<int32_t>(std::floor(kBandEnd * n / s));
        for (int32_t k = first; k < end; ++k) {
            if (2 * k >= bandFloats) {
                return;
            }
            band[2 * k] = wavelet(static_cast<float>(k), static_cast<float>(s / n)) * spectrum[2 * k];
        }
        complex2buffer2(band, static_cast<float>(s));
    }
}

float SuperVelmora::wavelet(float x, float f) {
    const float scaled = kWidth * f;
    const float d = kTwoPi * x * scaled - kTwoPi * kWidth;
    return std::sqrt(scaled) * kWaveletGain * std::exp(-0.5f * d * d);
}

} // namespace VELMORA
