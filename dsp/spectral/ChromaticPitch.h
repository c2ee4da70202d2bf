#pragma once

#include <atomic>
#include <cstdint>

#include "ChromaticFilter.h"
#include "DynaBuffer.h"

namespace VELMORA {

// Uses the per-tone value of each bin in one of four ways on every frame:
// 0 pitch shift (the value is a frequency ratio), 1 harmonic shift (a ratio that
// moves the source bin and scales its magnitude), 2 polar filter (a gain on the
// measured magnitude, rebuilt with the measured phase), 3 the plain complex
// filter. Any other mode resynthesises the frame unchanged.
class ChromaticPitch : public ChromaticFilter {
public:
    enum Mode : int32_t { shiftPitchesMode = 0, shiftMagnitudesMode = 1, filter2Mode = 2, filterMode = 3 };

    ChromaticPitch(int size, int overlap, float samplerate);

    void init() override;
    // Also zeroes the synthesis state, so a cleared processor runs like a new one.
    void clear() override;
    void onBufferReady() override;
    void onComplex(float* c) override;
    void setChromaticFilterRange(int left, int right, float factor) override;
    void setOutsideRange(float factor) override;

    virtual void setMode(int32_t value);
    virtual int32_t getMode() const;
    // Note n gets v * factor for v > 0, 1 + (v + 1 / factor) for v < 0, 1 for 0.
    // The table is kept beside the values and read by no frame.
    virtual void setChromaticPitches(const float* table, float factor);
    virtual void setChromaticPitch(int note, float value, float factor);

    virtual void shiftPitches();
    virtual void shiftMagnitudes();
    virtual void filter2();

protected:
    // Output bin k takes source bin round(k / ratio) (ratio > 0); -1 when that lies beyond lastBin.
    static int32_t sourceBin(int32_t k, float ratio, int32_t lastBin);

    bool synthesisReady();
    void clearSynthesis();
    void moveBins(float threshold, bool scaleMagnitude, bool shiftFrequency);
    // Complex bins 0..N/2 from magnitudes2 and phases2, advanced by frequencies2;
    // each accumulator stays wrapped into (-pi, pi].
    void synthesizeAccumulated(float* c);
    // Advances each accumulator by its bin's frequency2 over one hop, wrapped.
    void advancePhases(const float* freq2, float* acc) const;
    void zeroNegativeFrequencies(float* c);

    DynaBuffer frequencies2;
    DynaBuffer magnitudes2;
    DynaBuffer phases2;
    float chromaticPitches[kTones] = {};
    std::atomic<int32_t> mode{shiftPitchesMode};

private:
    void sizeSynthesis();
};

} // namespace VELMORA
