#pragma once

#include <atomic>
#include <cstdint>

// Linear peak detector: the peak climbs by a fixed step per sample while the input
// exceeds it, holds for a countdown after the last rise, then falls by a fixed step.
// The peak may be read from any thread; everything else belongs to the render thread.
class Follower {
public:
    Follower();

    // Restores the default attack, release and hold times at the new rate.
    void setSamplerate(float rate);
    // Each setter ignores a value outside its range (attack 0..1 s, release 0..10 s,
    // hold 0..1 s) and a NaN.
    void setAttack(float seconds);
    void setRelease(float seconds);
    void setDecay(float seconds);

    void processSample(float sample);

    float getPeak() const;
    // 1 - peak, clamped to 0..1.
    float getPeakInverted() const;

    void init();
    void reset();

private:
    static constexpr float kDefaultAttack = 0.01f;
    static constexpr float kDefaultRelease = 0.5f;
    static constexpr float kDefaultDecay = 0.0001f;
    static constexpr float kMinimumSlopeSamples = 16.0f;

    std::int32_t holdSamples() const;

    float fSamplerate = 48000.0f;
    float fAttack = 0.01f;
    float fRelease = 1.0f;
    float fDecay = 0.001f;
    float attackTime = 480.0f;
    float releaseTime = 48000.0f;
    std::int32_t decayTime = 48;
    double increase = 0.0;
    double decrease = 0.0;
    std::atomic<double> currentPeak{0.0};
};
