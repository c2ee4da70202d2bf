#pragma once

#include "BinMath.h"
#include "DynaBuffer.h"
#include "FFTPlan.h"

#include <cstdint>

namespace VELMORA {

// The short-time Fourier engine under every spectral object. Samples gather in
// an input FIFO; every stepSize samples the last fftFrameSize of them are
// windowed (periodic Hann), transformed, analysed per bin (magnitude and true
// frequency, phase-vocoder style), offered to the subclass, transformed back
// and overlap-added into the output FIFO.
//
// A subclass supplies process() with one of the sample loops below and
// onBufferReady() with the frame's steps. Every frame operation that takes a
// buffer pointer uses the engine's own buffer when the pointer is null, and
// does nothing when a buffer it needs is missing.
//
// Delay of the in-place loop: the output block written by a frame holds the
// completed overlap-add of the frame's oldest stepSize samples, and it is read
// out during the next stepSize samples, so an input sample leaves exactly
// fftFrameSize samples after it entered. With nothing changed in the spectrum
// the gain is 4 / osamp times the sum of the squared windows over the hops
// (1.5 at overlap 4, constant; at overlap 2 that sum is not constant).
class FFTBase {
public:
    FFTBase(int size, int overlap, float samplerate);
    virtual ~FFTBase();

    FFTBase(const FFTBase&) = delete;
    FFTBase& operator=(const FFTBase&) = delete;

    // Sets the rate and Hz per bin without re-initialising.
    virtual void setSamplerate(float rate);
    virtual void setSize(int n);
    virtual void setOverlap(int n);
    virtual float getSamplerate();
    virtual int getSize();
    virtual int getOverlap();

    // Raw buffers, overwritten by the next frame. getWave() is the input FIFO.
    virtual float* getFrequencies();
    virtual float* getMagnitudes();
    virtual float* getMagnitudesNormalized();
    virtual float* getMagnitudesPeaks();
    virtual float* getPhases();
    virtual float* getWave();
    // Element i of the same buffers; i must lie within the buffer.
    virtual float getFrequencies(int i);
    virtual float getMagnitudes(int i);
    virtual float getMagnitudesNormalized(int i);
    virtual float getMagnitudesPeaks(int i);
    virtual float getPhases(int i);
    virtual float getWave(int i);

    virtual void process(float* samples, int count) = 0;
    virtual void reset();

    // Windows the input FIFO (or `in`) into `out` (or `complex`) and transforms.
    virtual void buffer2complex(float* in, float* out);
    // Magnitudes and true frequencies of bins 0..N/2, then onAnalysis().
    virtual void complex2frequencies(float* c);
    // The phase-vocoder synthesis step: accumulates phases into `acc`.
    virtual void frequencies2complex(float* mag, float* freq, float* acc, float* out);
    // onComplex(), inverse transform, overlap-add, output block, shift.
    virtual void complex2buffer(float* c, float* out);
    virtual void doOutput(float* out);
    virtual void shiftInput(float* in);
    virtual void shiftResyn();

    virtual void init();
    // Which arc tangent, sine and cosine the bin loops use (the widest vectors
    // unless told otherwise). Not while frames run.
    void setMathPath(BinMath::Path path);
    // Zeroes FIFOs, accumulator, spectrum, phases and peaks (not the window,
    // not the magnitudes) and restarts the frame count.
    virtual void clear();

    virtual void onBufferReady() = 0;
    // Normalises the magnitudes by a decaying running maximum and holds peaks.
    virtual void onAnalysis(float* frequencies, float* magnitudes);
    virtual void onComplex(float* c);
    // In-place radix-2 transform of fftFrameSize interleaved complex points;
    // sign -1 forward, +1 inverse, unscaled.
    virtual void fft(int sign, float* buf);

protected:
    // True when the sizes are usable and the FIFOs exist; the sample loops
    // leave the samples untouched otherwise.
    bool canRun();
    // Sample loop with the output written back in place.
    void processInPlace(float* samples, int count);
    // Sample loop that only analyses: the sample i is sampleAt(i).
    template <class SampleAt>
    void processInput(int count, SampleAt sampleAt) {
        if (!canRun()) {
            return;
        }
        float* in = input.getBuffer();
        for (int i = 0; i < count; ++i) {
            in[iterator] = sampleAt(i);
            advance();
        }
    }
    // Moves the FIFO on by one sample and runs a frame when it is full; a
    // frame holding a sample that is not finite or beyond 2^40 in size resets
    // the object instead.
    void advance();

    DynaBuffer window;
    DynaBuffer complex;
    DynaBuffer input;
    DynaBuffer output;
    DynaBuffer frequencies;
    DynaBuffer magnitudes;
    DynaBuffer magnitudes_norm;
    DynaBuffer magnitudes_peaks;
    DynaBuffer phases;
    DynaBuffer resynth;
    int32_t lFrameSize;
    float fSamplerate;
    int32_t lOverlap;
    float max = 1.0f;
    float freqPerBin = 0.0f;
    float expct = 0.0f;
    int32_t fftFrameSize = 0;
    int32_t fftFrameSize2 = 0;
    int32_t _2fftFrameSize = 0;
    int32_t inFifoLatency = 0;
    int32_t osamp = 0;
    int32_t stepSize = 0;
    int32_t iterator = 0;
    BinMath binMath;

private:
    void initEngine();
    void fillWindow();
    void binFrequencies(float* phaseToFrequency, float* previous) const;
    bool newestSamplesUsable();

    FFTPlan plan;
    BinMath::Path mathPath = BinMath::Path::widestVectors;
};

} // namespace VELMORA
