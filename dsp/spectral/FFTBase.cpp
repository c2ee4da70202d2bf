#include "FFTBase.h"

#include "FlushToZero.h"
#include "UsableSample.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VELMORA {

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kPeakDecay = 0.93f;
constexpr float kMaxDecay = 0.01f;
// Far above any signal, and so far below the float range that with every
// sample of a frame within it no sum of a transform of up to 2^23 points, no
// squared magnitude and no overlap-add of a modified spectrum can overflow.
constexpr float kLargestSample = 1099511627776.0f; // 2^40

float* orOwn(float* given, DynaBuffer& own) {
    return given != nullptr ? given : own.getBuffer();
}

// Even integer nearest to x in the direction away from zero, as the phase
// unwrapping wants; 0 for values that do not fit an int (not a number).
// Written without branches so that the loop over the bins vectorises (the
// sign of a bin's phase error is a coin toss for the branch predictor).
inline int evenQuotient(float x) {
    const bool fits = (x > -2.0e9f) & (x < 2.0e9f);
    const int q = static_cast<int>(fits ? x : 0.0f);
    return q + (q >= 0 ? (q & 1) : -(q & 1));
}

} // namespace

FFTBase::FFTBase(int size, int overlap, float samplerate)
    : lFrameSize(size), fSamplerate(samplerate), lOverlap(overlap) {
    initEngine();
}

FFTBase::~FFTBase() = default;

void FFTBase::setSamplerate(float rate) {
    fSamplerate = rate;
    freqPerBin = rate / static_cast<float>(fftFrameSize);
}

void FFTBase::setSize(int n) {
    lFrameSize = n;
    init();
}

void FFTBase::setOverlap(int n) {
    lOverlap = n;
    init();
}

float FFTBase::getSamplerate() { return fSamplerate; }
int FFTBase::getSize() { return lFrameSize; }
int FFTBase::getOverlap() { return lOverlap; }

float* FFTBase::getFrequencies() { return frequencies.getBuffer(); }
float* FFTBase::getMagnitudes() { return magnitudes.getBuffer(); }
float* FFTBase::getMagnitudesNormalized() { return magnitudes_norm.getBuffer(); }
float* FFTBase::getMagnitudesPeaks() { return magnitudes_peaks.getBuffer(); }
float* FFTBase::getPhases() { return phases.getBuffer(); }
float* FFTBase::getWave() { return input.getBuffer(); }

float FFTBase::getFrequencies(int i) { return frequencies.getBuffer()[i]; }
float FFTBase::getMagnitudes(int i) { return magnitudes.getBuffer()[i]; }
float FFTBase::getMagnitudesNormalized(int i) { return magnitudes_norm.getBuffer()[i]; }
float FFTBase::getMagnitudesPeaks(int i) { return magnitudes_peaks.getBuffer()[i]; }
float FFTBase::getPhases(int i) { return phases.getBuffer()[i]; }
float FFTBase::getWave(int i) { return input.getBuffer()[i]; }

void FFTBase::reset() {
    clear();
}

void FFTBase::init() {
    initEngine();
}

void FFTBase::initEngine() {
    osamp = lOverlap;
    fftFrameSize = lFrameSize;
    fftFrameSize2 = fftFrameSize / 2;
    _2fftFrameSize = 2 * fftFrameSize;

    const int32_t bins = fftFrameSize2 + 1;
    window.ensure(fftFrameSize);
    complex.ensure(2 * (fftFrameSize + 1));
    input.ensure(fftFrameSize);
    output.ensure(fftFrameSize);
    frequencies.ensure(bins);
    magnitudes.ensure(bins);
    magnitudes_norm.ensure(bins);
    magnitudes_peaks.ensure(bins);
    phases.ensure(bins);
    resynth.ensure(_2fftFrameSize);

    fillWindow();
    freqPerBin = fSamplerate / static_cast<float>(fftFrameSize);
    stepSize = osamp != 0 ? fftFrameSize / osamp : 0;
    expct = kTwoPi * static_cast<float>(stepSize) / static_cast<float>(fftFrameSize);
    inFifoLatency = fftFrameSize - stepSize;
    iterator = inFifoLatency;
    max = 1.0f;
    plan.prepare(fftFrameSize);
    binMath.prepare(mathPath);
}

void FFTBase::setMathPath(BinMath::Path path) {
    mathPath = path;
    binMath.prepare(path);
}

void FFTBase::fillWindow() {
    float* w = window.getBuffer();
    if (w == nullptr) {
        return;
    }
    const float n = static_cast<float>(fftFrameSize);
    for (int32_t k = 0; k < fftFrameSize; ++k) {
        w[k] = -0.5f * std::cos(kTwoPi * static_cast<float>(k) / n) + 0.5f;
    }
}

void FFTBase::clear() {
    for (DynaBuffer* buffer : {&complex, &input, &output, &frequencies, &magnitudes_norm,
                               &magnitudes_peaks, &phases, &resynth}) {
        buffer->clear();
    }
    iterator = inFifoLatency;
}

bool FFTBase::canRun() {
    return stepSize > 0 && stepSize <= fftFrameSize && plan.size() == fftFrameSize &&
           input.getBuffer() != nullptr && output.getBuffer() != nullptr;
}

void FFTBase::processInPlace(float* samples, int count) {
    if (samples == nullptr || !canRun()) {
        return;
    }
    float* in = input.getBuffer();
    const float* out = output.getBuffer();
    // Up to the end of the frame at a time, so that the exchange runs as one loop.
    for (int i = 0; i < count;) {
        const int chunk = std::min(count - i, fftFrameSize - iterator);
        float* fifo = in + iterator;
        const float* ready = out + (iterator - inFifoLatency);
        for (int j = 0; j < chunk; ++j) {
            fifo[j] = samples[i + j];
            samples[i + j] = ready[j];
        }
        i += chunk;
        iterator += chunk - 1;
        advance();
    }
}

void FFTBase::advance() {
    if (++iterator >= fftFrameSize) {
        iterator = inFifoLatency;
        // Left to the frame, a sample that is not finite, or one so large that
        // the transform's sums overflow, turns the phases and accumulators
        // non-finite, and restarting only those leaves the bins of a tone out
        // of step for good. Starting over as reset() leaves the object, the
        // output from here on is that of a freshly reset one.
        if (!newestSamplesUsable()) {
            reset();
            return;
        }
        onBufferReady();
        shiftInput(nullptr);
    }
}

// The older samples of the frame were the newest of earlier frames, so each
// sample is checked once.
bool FFTBase::newestSamplesUsable() {
    const float* in = input.getBuffer();
    bool usable = true;
    for (int32_t k = inFifoLatency; k < fftFrameSize; ++k) {
        usable &= isUsableSample(in[k], kLargestSample);
    }
    return usable;
}

void FFTBase::buffer2complex(float* in, float* out) {
    in = orOwn(in, input);
    out = orOwn(out, complex);
    const float* w = window.getBuffer();
    if (in == nullptr || out == nullptr || w == nullptr) {
        return;
    }
    for (int32_t k = 0; k < fftFrameSize; ++k) {
        out[2 * k] = in[k] * w[k];
        out[2 * k + 1] = 0.0f;
    }
    fft(-1, out);
}

void FFTBase::complex2frequencies(float* c) {
    c = orOwn(c, complex);
    float* freq = frequencies.getBuffer();
    float* mag = magnitudes.getBuffer();
    float* previous = phases.getBuffer();
    if (c == nullptr || freq == nullptr || mag == nullptr || previous == nullptr) {
        return;
    }
    // Three passes over the bins, so that the arc tangent runs alone and the
    // arithmetic around it vectorises; the phases wait in freq.
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float re = c[2 * k];
        const float im = c[2 * k + 1];
        mag[k] = 2.0f * std::sqrt(re * re + im * im);
    }
    binMath.angles(c, freq, fftFrameSize2 + 1);
    binFrequencies(freq, previous);
    onAnalysis(freq, mag);
}

// Turns each bin's phase into its true frequency, from the phase advance since
// the previous frame, and keeps the phase for the next one.
void FFTBase::binFrequencies(float* phaseToFrequency, float* previous) const {
    const float expected = expct;
    const float overlap = static_cast<float>(osamp);
    const float binWidth = freqPerBin;
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float phase = phaseToFrequency[k];
        float d = phase - previous[k];
        previous[k] = phase;
        d -= static_cast<float>(k) * expected;
        d -= kPi * static_cast<float>(evenQuotient(d / kPi));
        d = overlap * d / kTwoPi;
        phaseToFrequency[k] = static_cast<float>(k) * binWidth + d * binWidth;
    }
}

void FFTBase::onAnalysis(float*, float* mags) {
    float* norm = magnitudes_norm.getBuffer();
    float* peaks = magnitudes_peaks.getBuffer();
    if (mags == nullptr || norm == nullptr || peaks == nullptr) {
        return;
    }
    float m = 1.0f;
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        if (mags[k] > m) {
            m = mags[k];
        }
    }
    if (m > max) {
        max = m;
    }
    if (max >= 1.0f) {
        for (int32_t k = 0; k <= fftFrameSize2; ++k) {
            norm[k] = mags[k] / max;
        }
    } else {
        max = 1.0f;
    }
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        peaks[k] = norm[k] >= peaks[k] ? norm[k] : flushToZero(peaks[k] * kPeakDecay);
    }
    max -= kMaxDecay;
}

void FFTBase::onComplex(float*) {}

void FFTBase::frequencies2complex(float* mag, float* freq, float* acc, float* out) {
    mag = orOwn(mag, magnitudes);
    freq = orOwn(freq, frequencies);
    acc = orOwn(acc, phases);
    out = orOwn(out, complex);
    if (mag == nullptr || freq == nullptr || acc == nullptr || out == nullptr) {
        return;
    }
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float centre = static_cast<float>(k) * freqPerBin;
        float d = (freq[k] - centre) / freqPerBin;
        d = kTwoPi * d / static_cast<float>(osamp);
        d += static_cast<float>(k) * expct;
        acc[k] += d;
    }
    binMath.polar(mag, acc, out, fftFrameSize2 + 1);
}

void FFTBase::complex2buffer(float* c, float* out) {
    c = orOwn(c, complex);
    float* acc = resynth.getBuffer();
    const float* w = window.getBuffer();
    if (c == nullptr || acc == nullptr || w == nullptr) {
        return;
    }
    onComplex(c);
    fft(1, c);
    const float divisor = static_cast<float>(fftFrameSize2) * static_cast<float>(osamp);
    for (int32_t k = 0; k < fftFrameSize; ++k) {
        acc[k] += 2.0f * w[k] * c[2 * k] / divisor;
    }
    doOutput(out);
    shiftResyn();
}

void FFTBase::doOutput(float* out) {
    out = orOwn(out, output);
    const float* acc = resynth.getBuffer();
    if (out == nullptr || acc == nullptr || stepSize <= 0) {
        return;
    }
    std::memcpy(out, acc, sizeof(float) * static_cast<std::size_t>(stepSize));
}

void FFTBase::shiftResyn() {
    float* acc = resynth.getBuffer();
    if (acc == nullptr || stepSize <= 0 || stepSize > fftFrameSize) {
        return;
    }
    std::memmove(acc, acc + stepSize, sizeof(float) * static_cast<std::size_t>(fftFrameSize));
}

void FFTBase::shiftInput(float* in) {
    in = orOwn(in, input);
    if (in == nullptr || stepSize <= 0 || inFifoLatency <= 0) {
        return;
    }
    std::memmove(in, in + stepSize, sizeof(float) * static_cast<std::size_t>(inFifoLatency));
}

void FFTBase::fft(int sign, float* buf) {
    if (plan.size() == fftFrameSize) {
        plan.transform(sign, buf);
    }
}

} // namespace VELMORA
