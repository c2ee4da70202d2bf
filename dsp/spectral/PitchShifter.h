#pragma once

#include "FFTBase.h"
#include "Interpolator2.h"

namespace VELMORA {

// Shifts the pitch of the whole spectrum by one ratio. A new ratio is reached
// smoothly, over 12 frames. At a ratio of exactly 1.0 the samples pass
// untouched and undelayed; at any other ratio they go through the frame loop
// and come out fftFrameSize samples later.
class PitchShifter : public FFTBase {
public:
    explicit PitchShifter(int size = 4096, int overlap = 4, float samplerate = 48000.0f);

    // Also keeps the frequency limit at half the rate.
    void setSamplerate(float rate) override;
    void process(float* samples, int count) override;
    void init() override;
    void onBufferReady() override;
    void onAnalysis(float* frequencies, float* magnitudes) override;

    virtual void setShift(float ratio);
    virtual float getShift();
    // Output bin k takes the magnitude of source bin round(k / r) and its
    // frequency times r, with r the ramp's next value; frequencies above the
    // limit, sources above N/2 and ratios at or below 0 give silence.
    virtual void shiftPitch();

protected:
    float shift = 1.0f;
    Interpolator2 interpolator{1.0f};
    DynaBuffer frequencies2;
    DynaBuffer magnitudes2;
    DynaBuffer phases2;
    float frequencyLimit;

private:
    void ensureSynthesisBuffers();
    void gatherSources(float ratio);
};

} // namespace VELMORA
