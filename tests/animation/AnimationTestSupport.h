#pragma once

#include "Animator.h"
#include "ManualClock.h"

#include <memory>

// Every object under test runs at kTick seconds, a binary fraction, so that advancing the
// manual clock by whole ticks fires each timer exactly once per tick.
constexpr float kTick = 0.0078125f;

class TickClock {
public:
    void ticks(int count) { _clock.advance(count * static_cast<double>(kTick)); }

private:
    ManualClock _clock;
};

// A linear 0 -> 1 member that needs `ticks` ticks to finish: ticks - 1 frames and the closing tick.
inline std::shared_ptr<Animator> memberOf(int ticks)
{
    return Animator::create(0.0f, 1.0f, ticks - 1, kTick);
}

// Calls `animate()` directly, as its timer would, `count` times.
template <class Animated> void animateTimes(Animated& object, int count)
{
    for (int i = 0; i < count; ++i)
        object.animate();
}
