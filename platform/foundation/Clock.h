#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

// The time of the run loops and timers: monotonic, in whole nanoseconds, so
// that timer periods add up exactly. Normally it follows the system's steady
// clock; while a ManualClock lives it stands still and moves only when the
// ManualClock advances it.
class Clock {
public:
    using Duration = std::chrono::nanoseconds;

    static Duration now();
    // Whether a ManualClock is in charge of the time.
    static bool isManual();

    // Seconds as a duration, rounded to the nearest nanosecond.
    static Duration fromSeconds(double seconds);

private:
    friend class ManualClock;
    static std::atomic<bool> manual_;
    static std::atomic<std::int64_t> manualNow_;
};
