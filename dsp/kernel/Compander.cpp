#include "Compander.h"

#include <algorithm>
#include <cmath>

Compander::Compander()
{
    setSamplerate(48000.0f);
    init();
    setMultiplier(1.0f);
    setInverted(false);
}

void Compander::setSamplerate(float rate)
{
    fSamplerate = rate;
    inputFollower.setSamplerate(rate);
    outputFollower.setSamplerate(rate);
}

void Compander::setMultiplier(float multiplier)
{
    if (std::isnan(multiplier))
        return;
    fMultiplier = std::max(multiplier, -1.0f);
}

void Compander::setInverted(bool inverted)
{
    bInverted = inverted;
}

void Compander::init()
{
    inputFollower.init();
    outputFollower.init();
    factor = 1.0f;
}

void Compander::reset()
{
    init();
}

float Compander::gain() const
{
    const float peak = inputFollower.getPeak();
    if (peak == 1.0f)
        return 1.0f;
    if (peak > 1.0f)
        return 1.0f / peak;
    return 1.0f + inputFollower.getPeakInverted() * fMultiplier;
}

void Compander::processBuffers(float* left, float* right, std::int64_t frames)
{
    for (std::int64_t i = 0; i < frames; ++i) {
        const float l = left[i];
        const float r = right[i];
        inputFollower.processSample(l + r);
        factor = gain();
        const float levelledLeft = l * factor;
        const float levelledRight = r * factor;
        left[i] = bInverted ? l - levelledLeft : levelledLeft;
        right[i] = bInverted ? r - levelledRight : levelledRight;
        outputFollower.processSample(levelledLeft + levelledRight);
    }
}
