#include "Interpolator2.h"

#include "FlushToZero.h"

#include <cmath>

namespace {

constexpr float kJumpBelow = 0.0001f;

} // namespace

Interpolator2::Interpolator2(float start, int64_t delay)
    : destination(start), current(start), delayCount(delay)
{
}

void Interpolator2::setDestinationValue(float target, long steps)
{
    if (target == destination)
        return;
    stepCount = steps < 1 ? 1 : steps;
    destination = target;
    increment = target - current;
    if (getAbsVal(increment) < kJumpBelow) {
        current = target;
        increment = 0.0f;
    } else {
        increment = VELMORA::flushToZero(increment / static_cast<float>(stepCount));
    }
}

float Interpolator2::getValue()
{
    if (delayCount >= 1) {
        --delayCount;
        return current;
    }
    if (increment != 0.0f) {
        current += increment;
        const bool arrived = increment > 0.0f ? current >= destination : current <= destination;
        if (arrived) {
            current = destination;
            increment = 0.0f;
        }
    }
    return current;
}

float Interpolator2::getAbsVal(float value)
{
    return std::fabs(value);
}
