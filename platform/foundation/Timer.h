#pragma once

#include "Clock.h"

#include <functional>
#include <memory>
#include <mutex>

// A run-loop timer. The run loop that a timer is scheduled on keeps it, and
// so its block and everything the block captures, alive until the timer is
// invalidated: a one-shot timer invalidates itself after firing, a repeating
// one runs until invalidate() is called (also from inside its own block).
// Firings happen on the thread of that run loop; a repeating timer that falls
// behind fires once and then keeps its original schedule.
class Timer {
public:
    using Block = std::function<void(Timer&)>;

    // Schedules a new timer on RunLoop::current(); it first fires `interval`
    // seconds from now. Intervals below 0.1 ms are raised to 0.1 ms.
    static std::shared_ptr<Timer> scheduledTimer(double interval, bool repeats, Block block);

    // Stops the timer for good and releases its block. Thread-safe; calling
    // it again does nothing.
    void invalidate();
    bool isValid() const;

    // The period in seconds, after the 0.1 ms floor.
    double timeInterval() const;
    bool repeats() const { return repeats_; }

private:
    friend class RunLoop;
    struct Passkey {};

public:
    Timer(Passkey, Clock::Duration interval, bool repeats, Block block);

private:
    // Runs the block once; a one-shot timer is invalid afterwards.
    void fire();

    const Clock::Duration interval_;
    const bool repeats_;
    mutable std::mutex mutex_;
    bool valid_ = true;
    Block block_;
};
