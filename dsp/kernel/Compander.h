#pragma once

#include <cstdint>

#include "Follower.h"

// Levels a stereo pair with one gain driven by the peak of the signed sum of both
// channels: peaks above 1 are limited to 1, quieter passages lifted by up to
// 1 + multiplier. A second follower tracks the levelled result for metering.
class Compander {
public:
    Compander();

    void setSamplerate(float rate);
    // Raised to -1 when below; no upper bound; a NaN is ignored.
    void setMultiplier(float multiplier);
    // Inverted: output what the gain removes instead of the levelled signal.
    void setInverted(bool inverted);

    void init();
    void reset();

    void processBuffers(float* left, float* right, std::int64_t frames);

    const Follower& getInputFollower() const { return inputFollower; }
    const Follower& getOutputFollower() const { return outputFollower; }

private:
    float gain() const;

    Follower inputFollower;
    Follower outputFollower;
    float fSamplerate = 48000.0f;
    float fMultiplier = 1.0f;
    float factor = 1.0f;
    bool bInverted = false;
};
