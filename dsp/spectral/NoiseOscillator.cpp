#include "NoiseOscillator.h"

#include <algorithm>

namespace {

constexpr float kDefaultRate = 44100.0f;

} // namespace

NoiseOscillator::NoiseOscillator() {
    init();
    setSamplerate(kDefaultRate);
    setFrequency(1.0f);
}

void NoiseOscillator::init() {
    noise = noise2 = last = inc = skip = 0.0f;
}

void NoiseOscillator::setSamplerate(float sr) {
    samplerate = sr;
    freq = fFrequency * sr;
    if (freq < 1.0f) {
        freq = 1.0f;
    }
    if (freq > sr) {
        freq = sr;
    }
}

void NoiseOscillator::setFrequency(float f) {
    fFrequency = std::clamp(f, 0.0f, 1.0f);
    freq = fFrequency * samplerate;
}
