#pragma once

#include "FFTBase.h"

namespace VELMORA {

// A bank of Gaussian-weighted bands between 110 Hz and 880 Hz (one band per
// scale s, centred on fs / s), each resynthesised on its own and added into
// the output. Every band runs its own inverse transform and overlap-add, and
// moves the accumulator on by a hop, so a frame costs one inverse transform
// per band (several hundred at 48000 Hz).
class SuperVelmora : public FFTBase {
public:
    explicit SuperVelmora(int size = 4096, int overlap = 4, float samplerate = 48000.0f);

    void process(float* samples, int count) override;
    // Adds the accumulator's first hop onto the output block.
    void doOutput(float* out) override;
    void init() override;
    void clear() override;
    void onBufferReady() override;

    // Resynthesises one band's spectrum into the accumulator and the output;
    // the scale is not used.
    virtual void complex2buffer2(float* spectrum, float scale);

protected:
    DynaBuffer complex2;

private:
    // Weight of bin x in the band of relative scale f = s / N.
    static float wavelet(float x, float f);
};

} // namespace VELMORA
