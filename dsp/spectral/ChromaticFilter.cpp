#include "ChromaticFilter.h"

namespace VELMORA {

namespace {

constexpr int kTonesBelowNotes = -Scala::kFirstNote;
constexpr int kFilterUpdateRate = 24;

static_assert(alignof(float) >= std::atomic_ref<float>::required_alignment);

} // namespace

ChromaticFilter::ChromaticFilter(int size, int overlap, float samplerate)
    : Analyzer(size, overlap, samplerate)
{
    setUpdateRate(kFilterUpdateRate);
    setSamplerate(samplerate);
    setChromatic(true);
    setChromaticFilterRange(0, kNotes - 1, 1.0f);
}

void ChromaticFilter::process(float* samples, int count)
{
    processInPlace(samples, count);
}

void ChromaticFilter::onBufferReady()
{
    buffer2complex(nullptr, nullptr);
    if (countFrame())
        complex2frequencies(nullptr);
    complex2buffer(nullptr, nullptr);
}

void ChromaticFilter::onComplex(float* c)
{
    filter(c);
}

float ChromaticFilter::toneValue(float bandValue)
{
    const float doubled = 2.0f * bandValue;
    return doubled > 1.0f ? doubled * doubled : doubled;
}

void ChromaticFilter::storeValue(float& cell, float value)
{
    std::atomic_ref<float>(cell).store(value, std::memory_order_relaxed);
}

void ChromaticFilter::zeroByRange(float* table, int left, int right, bool keepOutside)
{
    for (int note = 0; note < kNotes; ++note) {
        const bool withinRange = note >= left && note <= right;
        if (withinRange == keepOutside)
            storeValue(table[note + kTonesBelowNotes], 0.0f);
    }
}

void ChromaticFilter::fillOutside(float* table, float value)
{
    for (int tone = 0; tone < kTones; ++tone) {
        if (!isNote(tone - kTonesBelowNotes))
            storeValue(table[tone], value);
    }
}

void ChromaticFilter::setChromaticFilterRange(int left, int right, float factor)
{
    zeroByRange(chromaticFilters, left, right, inverted.load(std::memory_order_relaxed));
    setOutsideRange(factor);
}

void ChromaticFilter::setChromaticFilterBands(const float* bands, float factor)
{
    if (bands == nullptr)
        return;
    for (int note = 0; note < kNotes; ++note)
        storeValue(chromaticFilters[note + kTonesBelowNotes], toneValue(bands[note]));
    setOutsideRange(factor);
}

void ChromaticFilter::setChromaticFilterBand(int note, float value)
{
    if (isNote(note))
        storeValue(chromaticFilters[note + kTonesBelowNotes], toneValue(value));
}

void ChromaticFilter::setChromaticFilterBand2(int note, float value)
{
    if (isNote(note))
        storeValue(chromaticFilters[note + kTonesBelowNotes], value);
}

void ChromaticFilter::setInverted(bool on)
{
    inverted.store(on, std::memory_order_relaxed);
}

void ChromaticFilter::setOutsideRange(float factor)
{
    fillOutside(chromaticFilters, factor);
}

void ChromaticFilter::filter(float* c)
{
    if (c == nullptr)
        c = complex.getBuffer();
    if (c == nullptr || chromaticIndex == nullptr)
        return;
    for (int32_t k = 0; k <= fftFrameSize2; ++k) {
        const float gain = binValue(k);
        for (int32_t bin : {k, fftFrameSize - 1 - k}) {
            c[2 * bin] *= gain;
            c[2 * bin + 1] *= gain;
        }
    }
}

} // namespace VELMORA
