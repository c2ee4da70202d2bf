#include "AnimationTimer.h"

#include "Timer.h"

#include <utility>

void AnimationTimer::schedule(float interval, std::function<void()> tick)
{
    invalidate();
    _timer = Timer::scheduledTimer(static_cast<double>(interval), true,
                                   [tick = std::move(tick)](Timer&) { tick(); });
}

void AnimationTimer::invalidate()
{
    if (_timer) {
        // Cleared before invalidating: releasing the tick block may release the owner.
        std::exchange(_timer, nullptr)->invalidate();
    }
}
