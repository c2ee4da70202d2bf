#include "CrossModulator.h"

#include <new>

namespace VELMORA {

namespace {

constexpr int32_t kFramesPerBands = 8;
constexpr int kHighestNote = 127;
// The note sums read are those of the notes with a tone (0 .. 136).
constexpr int kNotesRead = Scala::kTones + Scala::kFirstNote;

} // namespace

CrossModulator::CrossModulator(int size, int overlap, float samplerate)
    : FFTBase(size, overlap, samplerate) {
    ensureBuffers();
}

void CrossModulator::process(float*, int) {}

void CrossModulator::init() {
    FFTBase::init();
    ensureBuffers();
}

void CrossModulator::ensureBuffers() {
    input2.ensure(fftFrameSize);
    complex2.ensure(2 * (fftFrameSize + 1));
    const int32_t bins = fftFrameSize2 + 1;
    scala.reserve(bins);
    if (bins != mappedBins) {
        toneOfBin.reset(bins > 0 ? new (std::nothrow) int32_t[static_cast<std::size_t>(bins)]() : nullptr);
        mappedBins = toneOfBin ? bins : 0;
    }
}

void CrossModulator::setRange(int left, int right) {
    rangeLeft = left;
    rangeRight = right;
}

void CrossModulator::setAmount(float value) {
    amount = value;
}

float CrossModulator::getAmount() {
    return amount;
}

void CrossModulator::process(float* carrier, float* modulated, int count) {
    float* in2 = input2.getBuffer();
    if (carrier == nullptr || modulated == nullptr || in2 == nullptr || !canRun()) {
        return;
    }
    float* in = input.getBuffer();
    const float* out = output.getBuffer();
    for (int i = 0; i < count; ++i) {
        in[iterator] = carrier[i];
        in2[iterator] = modulated[i];
        modulated[i] = out[iterator - inFifoLatency];
        if (++iterator >= fftFrameSize) {
            iterator = inFifoLatency;
            onBufferReady();
            shiftInput(nullptr);
            shiftInput(in2);
        }
    }
}

void CrossModulator::onBufferReady() {
    buffer2complex(nullptr, nullptr);
    complex2frequencies(nullptr);
    buffer2complex(input2.getBuffer(), complex2.getBuffer());
    complex2buffer(complex2.getBuffer(), nullptr);
}

void CrossModulator::onAnalysis(float* freqs, float* mags) {
    FFTBase::onAnalysis(freqs, mags);
    if (frameCounter == 0) {
        createChromaticBands();
    }
    frameCounter = (frameCounter + 1) % kFramesPerBands;
}

void CrossModulator::createChromaticBands() {
    if (toneOfBin == nullptr || mappedBins != fftFrameSize2 + 1) {
        return;
    }
    scala.assignBins(magnitudes.getBuffer(), frequencies.getBuffer(), phases.getBuffer(), mappedBins,
                     toneOfBin.get());
    scala.chromaticScaleSums(rangeLeft, rangeRight);
}

void CrossModulator::onComplex(float* c) {
    if (c != nullptr && c == complex2.getBuffer()) {
        crossmodulate();
    }
}

float CrossModulator::weightOfTone(const float* sums, int32_t tone) {
    const int note = tone + Scala::kFirstNote;
    return note >= 0 && note <= kHighestNote ? sums[note] : 0.0f;
}

void CrossModulator::crossmodulate() {
    const float* c1 = complex.getBuffer();
    float* c2 = complex2.getBuffer();
    if (c1 == nullptr || c2 == nullptr || toneOfBin == nullptr || mappedBins != fftFrameSize2 + 1) {
        return;
    }
    const float* sums = scala.getChromatic(0, kNotesRead, true);
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float weight = amount * weightOfTone(sums, toneOfBin[k]);
        // Bin k and its mirror bin N-1-k; real and imaginary values are each
        // weighted by their own carrier value (not a complex product).
        for (int32_t bin : {k, fftFrameSize - 1 - k}) {
            c2[2 * bin] *= weight * c1[2 * bin];
            c2[2 * bin + 1] *= weight * c1[2 * bin + 1];
        }
    }
}

} // namespace VELMORA
