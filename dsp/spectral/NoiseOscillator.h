#pragma once

#include <cstdint>

// The modulator's noise source. Its frequency is a fraction (0..1) of the
// sample rate.
class NoiseOscillator {
public:
    NoiseOscillator();

    // Zeroes the generator state.
    void init();
    // Keeps the frequency fraction; the frequency in Hz stays within 1..rate.
    void setSamplerate(float sr);
    // Sets the fraction of the sample rate, clamped to 0..1.
    void setFrequency(float f);

protected:
    uint32_t randseed = 33333;
    float fFrequency = 1.0f;
    float fVolume = 1.0f;
    int64_t lMode = 0;
    float samplerate = 44100.0f;
    float freq = 44100.0f;
    float noise = 0.0f;
    float noise2 = 0.0f;
    float last = 0.0f;
    float inc = 0.0f;
    float skip = 0.0f;
};
