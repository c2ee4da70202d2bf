#pragma once

#include "FFTBase.h"
#include "Scala.h"

#include <cstdint>
#include <memory>

namespace VELMORA {

// The analysis-only member of the FFT family: it analyses one frame out of
// every `updaterate` and, with the chromatic option on, sorts the bins into the
// tones of its Scala and sums the magnitude each MIDI note received.
class Analyzer : public FFTBase {
public:
    Analyzer(int size, int overlap, float samplerate);
    ~Analyzer() override;

    void setSamplerate(float rate) override;
    void process(float* samples, int count) override;
    void init() override;
    void clear() override;
    void onBufferReady() override;
    void onAnalysis(float* frequencies, float* magnitudes) override;

    // Analyses per second wanted; <= 0 analyses every frame.
    virtual void setUpdateRate(int rate);
    virtual void setChromatic(bool on);
    // On (the default), each analysis also makes what a display reads: the
    // normalised magnitudes and peaks and, with the chromatic option, the
    // tones' bin records and the note sums. Off, it makes only the magnitudes,
    // the frequencies and each bin's tone: all that a processor whose display
    // values nobody reads needs. Off also empties the tones.
    void setDisplayValues(bool on);
    // Analyses the sum of two signals.
    virtual void process(float* a, float* b, int count);
    // The bin-to-tone walk of the last analysed frame, then the note sums.
    virtual void createSpectrum();

    Scala scala;

protected:
    // Counts a frame; true when it is one to analyse (frame counts that are
    // multiples of updaterate; only the first when updaterate is 0).
    bool countFrame();

    // Tone of each bin of the last analysed frame; only while chromatic is on.
    std::unique_ptr<int32_t[]> chromaticIndex;
    bool chromatic = false;
    bool displayValues = true;
    int32_t lUpdaterate = 0;
    int32_t skip = 0;
    int32_t updaterate = 1;

private:
    int32_t framesPerAnalysis(int32_t rate);
    void reserveBins();
};

} // namespace VELMORA
