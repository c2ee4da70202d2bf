#include "ChromaticPitch.h"

namespace VELMORA {

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kPitchThreshold = 0.01f;
constexpr float kHarmonicThreshold = 0.0f;
constexpr int kTonesBelowNotes = -Scala::kFirstNote;

} // namespace

ChromaticPitch::ChromaticPitch(int size, int overlap, float samplerate)
    : ChromaticFilter(size, overlap, samplerate)
{
    sizeSynthesis();
}

void ChromaticPitch::sizeSynthesis()
{
    frequencies2.ensure(fftFrameSize2 + 1);
    magnitudes2.ensure(fftFrameSize2 + 1);
    phases2.ensure(fftFrameSize2 + 1);
}

void ChromaticPitch::init()
{
    ChromaticFilter::init();
    sizeSynthesis();
}

void ChromaticPitch::clear()
{
    ChromaticFilter::clear();
    clearSynthesis();
}

void ChromaticPitch::clearSynthesis()
{
    frequencies2.clear();
    magnitudes2.clear();
    phases2.clear();
}

void ChromaticPitch::onBufferReady()
{
    if (getMode() == 4) {
        ChromaticFilter::onBufferReady();
        return;
    }
    buffer2complex(nullptr, nullptr);
    complex2frequencies(nullptr);
    complex2buffer(nullptr, nullptr);
}

void ChromaticPitch::onComplex(float* c)
{
    switch (getMode()) {
    case shiftPitchesMode: shiftPitches(); break;
    case shiftMagnitudesMode: shiftMagnitudes(); break;
    case filter2Mode: filter2(); break;
    case filterMode: filter(c); break;
    default: break;
    }
}

void ChromaticPitch::setChromaticFilterRange(int left, int right, float factor)
{
    ChromaticFilter::setChromaticFilterRange(left, right, factor);
    zeroByRange(chromaticPitches, left, right, inverted.load(std::memory_order_relaxed));
    setOutsideRange(factor);
}

void ChromaticPitch::setOutsideRange(float factor)
{
    ChromaticFilter::setOutsideRange(factor);
    fillOutside(chromaticPitches, factor);
}

void ChromaticPitch::setMode(int32_t value)
{
    mode.store(value, std::memory_order_relaxed);
}

int32_t ChromaticPitch::getMode() const
{
    return mode.load(std::memory_order_relaxed);
}

void ChromaticPitch::setChromaticPitches(const float* table, float factor)
{
    if (table == nullptr)
        return;
    for (int note = 0; note < kNotes; ++note)
        setChromaticPitch(note, table[note], factor);
}

void ChromaticPitch::setChromaticPitch(int note, float value, float factor)
{
    if (!isNote(note))
        return;
    float pitch = 1.0f;
    if (value > 0.0f)
        pitch = 1.0f + (value * factor - 1.0f);
    else if (value < 0.0f)
        pitch = 1.0f + (value + 1.0f / factor);
    storeValue(chromaticPitches[note + kTonesBelowNotes], pitch);
}

int32_t ChromaticPitch::sourceBin(int32_t k, float ratio, int32_t lastBin)
{
    // k / ratio is never negative here, so truncation is the floor.
    const float rounded = static_cast<float>(k) / ratio + 0.5f;
    return rounded < static_cast<float>(lastBin + 1) ? static_cast<int32_t>(rounded) : -1;
}

bool ChromaticPitch::synthesisReady()
{
    const int32_t bins = fftFrameSize2 + 1;
    return chromaticIndex != nullptr && complex.getBuffer() != nullptr && magnitudes.getSize() >= bins &&
           frequencies.getSize() >= bins && phases.getSize() >= bins && frequencies2.getSize() >= bins &&
           magnitudes2.getSize() >= bins && phases2.getSize() >= bins;
}

void ChromaticPitch::shiftPitches()
{
    moveBins(kPitchThreshold, false, true);
}

void ChromaticPitch::shiftMagnitudes()
{
    moveBins(kHarmonicThreshold, true, false);
}

// Output bin k gathers source bin round(k / r), r being the value of bin k's own
// tone; the pitch shift multiplies the source frequency by r, the harmonic shift
// keeps it and scales the magnitude by r.
void ChromaticPitch::moveBins(float threshold, bool scaleMagnitude, bool shiftFrequency)
{
    if (!synthesisReady())
        return;
    float* mag = magnitudes.getBuffer();
    float* freq = frequencies.getBuffer();
    float* mag2 = magnitudes2.getBuffer();
    float* freq2 = frequencies2.getBuffer();
    mag[0] = 0.0f;
    freq[0] = 0.0f;
    frequencies2.clear();
    magnitudes2.clear();
    const float nyquist = fSamplerate * 0.5f;
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float ratio = binValue(k);
        if (!(ratio > threshold))
            continue;
        const int32_t source = sourceBin(k, ratio, fftFrameSize2);
        if (source < 0)
            continue;
        mag2[k] = scaleMagnitude ? mag[source] * ratio : mag[source];
        freq2[k] = shiftFrequency ? freq[source] * ratio : freq[source];
        if (freq2[k] > nyquist) {
            mag2[k] = 0.0f;
            freq2[k] = 0.0f;
        }
    }
    synthesizeAccumulated(complex.getBuffer());
}

void ChromaticPitch::synthesizeAccumulated(float* c)
{
    const float* mag2 = magnitudes2.getBuffer();
    float* acc = phases2.getBuffer();
    advancePhases(frequencies2.getBuffer(), acc);
    binMath.polar(mag2, acc, c, fftFrameSize2 + 1);
    zeroNegativeFrequencies(c);
}

void ChromaticPitch::advancePhases(const float* freq2, float* acc) const
{
    const float binWidth = freqPerBin;
    const float overlap = static_cast<float>(osamp);
    const float expected = expct;
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float binCentre = static_cast<float>(k) * binWidth;
        float advance = (freq2[k] - binCentre) / binWidth;
        advance = kTwoPi * advance / overlap;
        advance += static_cast<float>(k) * expected;
        acc[k] += advance;
    }
    binMath.wrap(acc, fftFrameSize2 + 1);
}

void ChromaticPitch::zeroNegativeFrequencies(float* c)
{
    for (int32_t i = fftFrameSize + 2; i < _2fftFrameSize; ++i)
        c[i] = 0.0f;
}

// Each bin keeps its own frequency and measured phase; only the magnitude is
// scaled. The bins are rebuilt one-sided, without the DC bin.
void ChromaticPitch::filter2()
{
    if (!synthesisReady())
        return;
    float* mag = magnitudes.getBuffer();
    float* freq = frequencies.getBuffer();
    const float* measured = phases.getBuffer();
    float* mag2 = magnitudes2.getBuffer();
    float* freq2 = frequencies2.getBuffer();
    float* c = complex.getBuffer();
    mag[0] = 0.0f;
    freq[0] = 0.0f;
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        mag2[k] = binValue(k) * mag[k];
        freq2[k] = freq[k];
    }
    binMath.polar(mag2, measured, c, fftFrameSize2 + 1);
    zeroNegativeFrequencies(c);
}

} // namespace VELMORA
