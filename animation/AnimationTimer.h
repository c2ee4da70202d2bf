#pragma once

#include <functional>
#include <memory>

class Timer;

// The repeating tick timer of an animation object. The tick block usually holds the
// object itself, which keeps a started object alive until its timer is invalidated.
// At most one timer runs: scheduling again first invalidates the running one, so that
// no timer is left firing where invalidate() can no longer reach it.
class AnimationTimer {
public:
    AnimationTimer() = default;
    AnimationTimer(const AnimationTimer&) = delete;
    AnimationTimer& operator=(const AnimationTimer&) = delete;

    // Schedules `tick` every `interval` seconds (widened to double) on the current
    // thread's run loop.
    void schedule(float interval, std::function<void()> tick);
    void invalidate();

private:
    std::shared_ptr<Timer> _timer;
};
