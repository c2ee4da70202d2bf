#include "Follower.h"

#include <algorithm>
#include <cmath>

namespace {

bool within(float value, float low, float high)
{
    return value >= low && value <= high;
}

} // namespace

Follower::Follower()
{
    setSamplerate(48000.0f);
    init();
}

void Follower::setSamplerate(float rate)
{
    fSamplerate = rate;
    setAttack(kDefaultAttack);
    setRelease(kDefaultRelease);
    setDecay(kDefaultDecay);
}

void Follower::setAttack(float seconds)
{
    if (!within(seconds, 0.0f, 1.0f))
        return;
    fAttack = seconds;
    attackTime = std::max(seconds * fSamplerate, kMinimumSlopeSamples);
    increase = 1.0 / static_cast<double>(attackTime);
}

void Follower::setRelease(float seconds)
{
    if (!within(seconds, 0.0f, 10.0f))
        return;
    fRelease = seconds;
    releaseTime = std::max(seconds * fSamplerate, kMinimumSlopeSamples);
    decrease = 1.0 / static_cast<double>(releaseTime);
}

void Follower::setDecay(float seconds)
{
    if (!within(seconds, 0.0f, 1.0f))
        return;
    fDecay = seconds;
    decayTime = holdSamples();
}

std::int32_t Follower::holdSamples() const
{
    return static_cast<std::int32_t>(fDecay * fSamplerate);
}

void Follower::processSample(float sample)
{
    const double level = std::fabs(sample);
    double peak = currentPeak.load(std::memory_order_relaxed);
    if (level > peak) {
        peak += increase;
        decayTime = holdSamples();
    } else if (level < peak) {
        const std::int32_t countdown = decayTime;
        decayTime = countdown - 1;
        if (countdown > 0)
            return;
        decayTime = 0;
        peak = std::max(peak - decrease, 0.0);
    } else {
        return;
    }
    currentPeak.store(peak, std::memory_order_relaxed);
}

float Follower::getPeak() const
{
    return static_cast<float>(currentPeak.load(std::memory_order_relaxed));
}

float Follower::getPeakInverted() const
{
    return 1.0f - std::clamp(getPeak(), 0.0f, 1.0f);
}

void Follower::init()
{
    currentPeak.store(0.0, std::memory_order_relaxed);
}

void Follower::reset()
{
    init();
}
