#include "Analyzer.h"

#include "Console.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace VELMORA {

namespace {

constexpr int kDefaultUpdateRate = 128;
constexpr int kNotesSummed = 128;

} // namespace

Analyzer::Analyzer(int size, int overlap, float samplerate) : FFTBase(size, overlap, samplerate) {
    reserveBins();
    setChromatic(false);
    setUpdateRate(kDefaultUpdateRate);
    char line[64];
    std::snprintf(line, sizeof line, "DIAGNOSTICS: FFT Analyzer loaded. [ %p ]", static_cast<void*>(this));
    Console::print(line);
}

Analyzer::~Analyzer() = default;

void Analyzer::setSamplerate(float rate) {
    FFTBase::setSamplerate(rate);
    updaterate = framesPerAnalysis(lUpdaterate);
}

void Analyzer::setUpdateRate(int rate) {
    lUpdaterate = rate > 0 ? rate : 0;
    updaterate = framesPerAnalysis(lUpdaterate);
    skip = 0;
}

// Frames per analysis for `rate` analyses per second, rounded up; 1 for no rate.
int32_t Analyzer::framesPerAnalysis(int32_t rate) {
    if (rate == 0) {
        return 1;
    }
    const float frames = std::ceil(fSamplerate / static_cast<float>(fftFrameSize) *
                                   static_cast<float>(osamp) / static_cast<float>(rate));
    return frames >= 0.0f && frames < 2.0e9f ? static_cast<int32_t>(frames) : 1;
}

void Analyzer::setChromatic(bool on) {
    chromatic = on;
    chromaticIndex.reset();
    if (on && fftFrameSize2 >= 0) {
        chromaticIndex.reset(new (std::nothrow) int32_t[static_cast<std::size_t>(fftFrameSize2) + 1]());
    }
}

void Analyzer::setDisplayValues(bool on) {
    displayValues = on;
    if (!on) {
        scala.clear();
    }
}

void Analyzer::init() {
    FFTBase::init();
    reserveBins();
    if (chromatic) {
        setChromatic(true);
    }
}

void Analyzer::reserveBins() {
    scala.reserve(fftFrameSize2 + 1);
}

void Analyzer::clear() {
    FFTBase::clear();
    skip = 0;
}

void Analyzer::process(float* samples, int count) {
    if (samples != nullptr) {
        processInput(count, [samples](int i) { return samples[i]; });
    }
}

void Analyzer::process(float* a, float* b, int count) {
    if (a != nullptr && b != nullptr) {
        processInput(count, [a, b](int i) { return a[i] + b[i]; });
    }
}

bool Analyzer::countFrame() {
    const int32_t s = skip;
    // Only the frame count modulo updaterate matters, so it never overflows.
    skip = updaterate > 0 ? (s + 1) % updaterate : 1;
    return updaterate > 0 ? s % updaterate == 0 : s == 0;
}

void Analyzer::onBufferReady() {
    if (countFrame()) {
        buffer2complex(nullptr, nullptr);
        complex2frequencies(nullptr);
    }
}

void Analyzer::onAnalysis(float* freqs, float* mags) {
    if (!displayValues) {
        if (chromatic) {
            scala.findTones(frequencies.getBuffer(), fftFrameSize2 + 1, chromaticIndex.get());
        }
        return;
    }
    FFTBase::onAnalysis(freqs, mags);
    if (chromatic) {
        createSpectrum();
    }
}

void Analyzer::createSpectrum() {
    scala.assignBins(magnitudes.getBuffer(), frequencies.getBuffer(), phases.getBuffer(),
                     fftFrameSize2 + 1, chromaticIndex.get());
    scala.chromaticScaleSums(0, kNotesSummed);
}

} // namespace VELMORA
