#include "PitchShifter.h"

#include <cmath>
#include <cstring>

namespace VELMORA {

namespace {

constexpr int kRampFrames = 12;

} // namespace

PitchShifter::PitchShifter(int size, int overlap, float samplerate)
    : FFTBase(size, overlap, samplerate), frequencyLimit(samplerate * 0.5f) {
    ensureSynthesisBuffers();
}

void PitchShifter::setSamplerate(float rate) {
    FFTBase::setSamplerate(rate);
    frequencyLimit = rate * 0.5f;
}

void PitchShifter::process(float* samples, int count) {
    if (shift == 1.0f) {
        return;
    }
    processInPlace(samples, count);
}

void PitchShifter::init() {
    FFTBase::init();
    ensureSynthesisBuffers();
}

void PitchShifter::ensureSynthesisBuffers() {
    const int32_t bins = fftFrameSize2 + 1;
    frequencies2.ensure(bins);
    magnitudes2.ensure(bins);
    phases2.ensure(bins);
}

void PitchShifter::onBufferReady() {
    buffer2complex(nullptr, nullptr);
    if (shift != 1.0f) {
        complex2frequencies(nullptr);
    }
    complex2buffer(nullptr, nullptr);
}

void PitchShifter::onAnalysis(float* freqs, float* mags) {
    FFTBase::onAnalysis(freqs, mags);
    if (shift != 1.0f) {
        shiftPitch();
    }
}

void PitchShifter::setShift(float ratio) {
    shift = ratio;
    interpolator.setDestinationValue(ratio, kRampFrames);
}

float PitchShifter::getShift() {
    return shift;
}

void PitchShifter::shiftPitch() {
    float* c = complex.getBuffer();
    float* acc = phases2.getBuffer();
    if (c == nullptr || acc == nullptr || frequencies2.getBuffer() == nullptr ||
        magnitudes2.getBuffer() == nullptr || frequencies.getBuffer() == nullptr ||
        magnitudes.getBuffer() == nullptr) {
        return;
    }
    gatherSources(interpolator.getValue());
    frequencies2complex(magnitudes2.getBuffer(), frequencies2.getBuffer(), acc, c);
    binMath.wrap(acc, fftFrameSize2 + 1);
    // The negative frequencies (bins N/2+1 .. N-1) stay empty.
    std::memset(c + fftFrameSize + 2, 0, sizeof(float) * static_cast<std::size_t>(fftFrameSize - 2));
}

void PitchShifter::gatherSources(float ratio) {
    float* mag = magnitudes.getBuffer();
    float* freq = frequencies.getBuffer();
    float* mag2 = magnitudes2.getBuffer();
    float* freq2 = frequencies2.getBuffer();
    const std::size_t bins = static_cast<std::size_t>(fftFrameSize2) + 1;
    // The DC bin never serves as a source.
    mag[0] = 0.0f;
    freq[0] = 0.0f;
    std::memset(mag2, 0, sizeof(float) * bins);
    std::memset(freq2, 0, sizeof(float) * bins);
    if (!(ratio > 0.0f)) {
        return;
    }
    const float highest = static_cast<float>(fftFrameSize2);
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float source = std::floor(static_cast<float>(k) / ratio + 0.5f);
        if (!(source <= highest)) {
            continue;
        }
        const int32_t s = static_cast<int32_t>(source);
        const float moved = freq[s] * ratio;
        if (moved > frequencyLimit) {
            continue;
        }
        mag2[k] = mag[s];
        freq2[k] = moved;
    }
}

} // namespace VELMORA
