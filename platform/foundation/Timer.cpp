#include "Timer.h"

#include "RunLoop.h"

#include <algorithm>

namespace {

constexpr Clock::Duration kShortestInterval = std::chrono::microseconds(100);

} // namespace

Timer::Timer(Passkey, Clock::Duration interval, bool repeats, Block block)
    : interval_(std::max(interval, kShortestInterval)), repeats_(repeats), block_(std::move(block))
{
}

std::shared_ptr<Timer> Timer::scheduledTimer(double interval, bool repeats, Block block)
{
    auto timer = std::make_shared<Timer>(Passkey{}, Clock::fromSeconds(interval), repeats,
                                         std::move(block));
    RunLoop::current().add(timer, Clock::now() + timer->interval_);
    return timer;
}

void Timer::invalidate()
{
    Block released;
    {
        std::lock_guard lock(mutex_);
        valid_ = false;
        released = std::move(block_);
        block_ = nullptr;
    }
    // `released` goes out of scope here, outside the lock, so that whatever
    // it captured may itself touch timers while it is destroyed.
}

bool Timer::isValid() const
{
    std::lock_guard lock(mutex_);
    return valid_;
}

double Timer::timeInterval() const
{
    return std::chrono::duration<double>(interval_).count();
}

void Timer::fire()
{
    Block block;
    {
        std::lock_guard lock(mutex_);
        if (!valid_) {
            return;
        }
        // A copy, so that the block may invalidate its own timer while it
        // runs: its captures stay alive until it has returned.
        block = block_;
    }
    if (block) {
        try {
            block(*this);
        } catch (...) {
            // A one-shot timer is spent even when its block throws.
            if (!repeats_) {
                invalidate();
            }
            throw;
        }
    }
    if (!repeats_) {
        invalidate();
    }
}
