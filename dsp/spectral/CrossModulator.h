#pragma once

#include "FFTBase.h"
#include "Scala.h"

#include <cstdint>
#include <memory>

namespace VELMORA {

// Imposes the note-weighted bins of a carrier on a second signal: the real and
// imaginary values of every bin of the modulated signal are multiplied by
// those of the carrier's bin, by the amount and by the carrier's (normalised)
// magnitude sum for the note of that bin. The note sums are taken over a note
// range and renewed every eighth frame. The modulated signal comes back
// processed in place, fftFrameSize samples late.
class CrossModulator : public FFTBase {
public:
    // Amount 1.0, note range 0..128 (every MIDI note).
    explicit CrossModulator(int size = 4096, int overlap = 4, float samplerate = 48000.0f);

    // Needs two signals: see process(carrier, modulated, count).
    void process(float* samples, int count) override;
    void init() override;
    void onBufferReady() override;
    void onAnalysis(float* frequencies, float* magnitudes) override;
    void onComplex(float* c) override;

    // The notes left..right-1 whose sums weight the bins.
    virtual void setRange(int left, int right);
    virtual void setAmount(float value);
    virtual float getAmount();
    virtual void process(float* carrier, float* modulated, int count);
    virtual void crossmodulate();
    // The bin-to-tone walk of the carrier's last analysis and the note sums.
    virtual void createChromaticBands();

protected:
    float amount = 1.0f;
    int32_t rangeLeft = 0;
    int32_t rangeRight = 128;
    DynaBuffer input2;
    DynaBuffer complex2;
    Scala scala;
    int32_t frameCounter = 0;
    std::unique_ptr<int32_t[]> toneOfBin;

private:
    void ensureBuffers();
    // The carrier's note sum that weights the bins of a tone; 0 for tones
    // whose note has no sum (below note 0, above note 127).
    float weightOfTone(const float* sums, int32_t tone);

    int32_t mappedBins = 0;
};

} // namespace VELMORA
