#pragma once

#include "Clock.h"

// Test time. While a ManualClock lives, Clock::now() stands still and moves
// only through advance(), so that tests count timer firings exactly. Only one
// may live at a time. Construction and destruction both discard whatever
// timers and posted blocks the calling thread's run loop holds, so that tests
// do not leak work into each other.
class ManualClock {
public:
    ManualClock();
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    // Moves time forward by `seconds` on the calling thread's run loop: runs
    // the posted blocks, then fires each timer that falls due on the way, one
    // at a time in time order with the clock set to its fire date, running
    // the posted blocks (also those they post) after each firing; ends with
    // the clock at the new time. advance(0) just runs the posted blocks.
    // Throws std::invalid_argument for a negative or non-finite `seconds`.
    void advance(double seconds);

    // Seconds advanced since construction.
    double elapsed() const;

private:
    Clock::Duration start_;
};
