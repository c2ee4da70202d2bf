#pragma once

#include <cstdint>

// A linear ramp toward a target value: each getValue() moves one step of
// (target - value) / steps and stops exactly on the target.
class Interpolator2 {
public:
    // Starts resting at `start`; the first `delay` getValue() calls hold the value.
    explicit Interpolator2(float start = 0.0f, int64_t delay = 0);

    // Ramps to target over steps calls (at least one). A target already set
    // changes nothing; one within 0.0001 of the value is taken at once.
    void setDestinationValue(float target, long steps);
    float getValue();
    static float getAbsVal(float value);

private:
    float destination;
    float current;
    float increment = 0.0f;
    int64_t stepCount = 1;
    int64_t delayCount;
};
