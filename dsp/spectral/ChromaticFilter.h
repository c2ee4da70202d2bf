#pragma once

#include <atomic>
#include <cstdint>

#include "Analyzer.h"

namespace VELMORA {

// Holds one value per tone of the chromatic table (tone = MIDI note + 3) and, as
// a filter, scales every FFT bin by the value of the tone its frequency fell in.
// The values may be set from any thread while the render thread runs frames.
class ChromaticFilter : public Analyzer {
public:
    static constexpr int kTones = Scala::kTones;
    static constexpr int kNotes = 128;

    ChromaticFilter(int size, int overlap, float samplerate);

    // In place: the processed signal, delayed by the engine.
    void process(float* samples, int count) override;
    // Transforms and resynthesises every frame, analyses every updaterate-th.
    void onBufferReady() override;
    void onComplex(float* c) override;

    // Zeroes the tones of notes 0..127 outside [left, right] (inside when
    // inverted), never restores one, then sets the outer tones to factor.
    virtual void setChromaticFilterRange(int left, int right, float factor);
    // Tone of note n = toneValue(bands[n]) for n = 0..127; null does nothing.
    virtual void setChromaticFilterBands(const float* bands, float factor);
    // Notes outside 0..127 are ignored.
    virtual void setChromaticFilterBand(int note, float value);
    // The same without the mapping.
    virtual void setChromaticFilterBand2(int note, float value);
    virtual void setInverted(bool on);
    // Tones below note 0 and above note 127.
    virtual void setOutsideRange(float factor);
    // Scales bin k and its mirror bin N-1-k by the value of bin k's tone, for
    // k = 0..N/2, in place on c (the engine's transform when null).
    virtual void filter(float* c);

    // Band value 0..1 to tone value: 2v, squared above 1 (0.5 gives exactly 1).
    static float toneValue(float bandValue);

protected:
    // The value of the tone in which bin k was measured in this frame. Inline,
    // as the frame loops ask it once per bin.
    float binValue(int32_t k) const { return loadValue(chromaticFilters[chromaticIndex[k]]); }
    static void storeValue(float& cell, float value);
    static float loadValue(const float& cell)
    {
        return std::atomic_ref<float>(const_cast<float&>(cell)).load(std::memory_order_relaxed);
    }
    // The range rule on one table: zeroes the tones of notes 0..127 outside
    // [left, right], or inside it when keepOutside.
    static void zeroByRange(float* table, int left, int right, bool keepOutside);
    // Sets the tones below note 0 and above note 127 of one table.
    static void fillOutside(float* table, float value);
    static bool isNote(int note) { return note >= 0 && note < kNotes; }

    float chromaticFilters[kTones] = {};
    std::atomic<bool> inverted{false};
};

} // namespace VELMORA
