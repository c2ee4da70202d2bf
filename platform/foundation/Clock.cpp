#include "Clock.h"

#include <cmath>

std::atomic<bool> Clock::manual_{false};
std::atomic<std::int64_t> Clock::manualNow_{0};

Clock::Duration Clock::now()
{
    if (isManual()) {
        return Duration(manualNow_.load(std::memory_order_acquire));
    }
    return std::chrono::duration_cast<Duration>(
        std::chrono::steady_clock::now().time_since_epoch());
}

bool Clock::isManual()
{
    return manual_.load(std::memory_order_acquire);
}

Clock::Duration Clock::fromSeconds(double seconds)
{
    return Duration(std::llround(seconds * 1e9));
}
