#include "ManualClock.h"

#include "RunLoop.h"

#include <cmath>
#include <stdexcept>

ManualClock::ManualClock() : start_(Clock::now())
{
    if (Clock::manual_.exchange(true, std::memory_order_acq_rel)) {
        throw std::logic_error("ManualClock: another ManualClock is already in charge of the time");
    }
    Clock::manualNow_.store(start_.count(), std::memory_order_release);
    RunLoop::current().discardAll();
}

ManualClock::~ManualClock()
{
    RunLoop::current().discardAll();
    Clock::manual_.store(false, std::memory_order_release);
}

void ManualClock::advance(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0) {
        throw std::invalid_argument("ManualClock::advance: seconds must be finite and not negative");
    }
    RunLoop& loop = RunLoop::current();
    const auto target = Clock::now() + Clock::fromSeconds(seconds);
    loop.drainPostedBlocks();
    while (const auto date = loop.nextFireDate()) {
        if (*date > target) {
            break;
        }
        if (*date > Clock::now()) {
            Clock::manualNow_.store(date->count(), std::memory_order_release);
        }
        loop.fireNextTimer(*date);
        loop.drainPostedBlocks();
    }
    Clock::manualNow_.store(target.count(), std::memory_order_release);
}

double ManualClock::elapsed() const
{
    return std::chrono::duration<double>(Clock::now() - start_).count();
}
