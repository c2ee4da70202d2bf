#include "RunLoop.h"

#include "ReportingFailures.h"
#include "Timer.h"

#include <algorithm>
#include <unistd.h>

namespace {

// The first date after `now` on the timer's schedule of `date` + n * interval.
Clock::Duration nextDateAfter(Clock::Duration date, Clock::Duration interval, Clock::Duration now)
{
    if (date + interval > now) {
        return date + interval;
    }
    return date + ((now - date) / interval + 1) * interval;
}

} // namespace

RunLoop& RunLoop::main()
{
    // Never destroyed: worker threads may still post to it while the process
    // exits.
    static RunLoop* loop = new RunLoop;
    return *loop;
}

RunLoop& RunLoop::current()
{
    if (isMainThread()) {
        return main();
    }
    thread_local std::unique_ptr<RunLoop> loop(new RunLoop);
    return *loop;
}

bool RunLoop::isMainThread()
{
    return ::gettid() == ::getpid();
}

// Later entries compare greater, so the heap's front is the earliest timer;
// equal dates fire in the order the timers were scheduled.
bool RunLoop::firesLater(const Entry& a, const Entry& b)
{
    return a.date != b.date ? a.date > b.date : a.order > b.order;
}

RunLoop::~RunLoop()
{
    discardAll();
}

void RunLoop::perform(std::function<void()> block)
{
    // Notified under the lock: once the lock is released, the loop's thread
    // may run the block, end and destroy the loop.
    std::lock_guard lock(mutex_);
    blocks_.push_back(std::move(block));
    wakeLocked();
}

void RunLoop::run()
{
    {
        std::lock_guard lock(mutex_);
        ++runDepth_;
    }
    for (;;) {
        runPending();
        {
            std::lock_guard lock(mutex_);
            if (stopRequested_) {
                stopRequested_ = false;
                --runDepth_;
                return;
            }
        }
        waitForWork(std::chrono::steady_clock::time_point::max());
    }
}

void RunLoop::stop()
{
    std::lock_guard lock(mutex_);
    if (runDepth_ > 0) {
        stopRequested_ = true;
    }
    wakeLocked();
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeoutSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              Clock::fromSeconds(std::max(timeoutSeconds, 0.0)));
    for (;;) {
        runPending();
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        waitForWork(deadline);
    }
}

void RunLoop::runPending()
{
    runPostedBlocks();
    fireDueTimers();
}

void RunLoop::add(std::shared_ptr<Timer> timer, Clock::Duration date)
{
    std::lock_guard lock(mutex_);
    timers_.push_back(Entry{date, nextOrder_++, std::move(timer)});
    std::push_heap(timers_.begin(), timers_.end(), firesLater);
    wakeLocked();
}

void RunLoop::setWakeHandler(std::function<void()> handler)
{
    std::lock_guard lock(mutex_);
    wakeHandler_ = std::move(handler);
}

bool RunLoop::hasPostedBlocks()
{
    std::lock_guard lock(mutex_);
    return !blocks_.empty();
}

void RunLoop::wakeLocked()
{
    wake_.notify_all();
    if (wakeHandler_) {
        wakeHandler_();
    }
}

std::optional<Clock::Duration> RunLoop::nextFireDate()
{
    std::lock_guard lock(mutex_);
    while (!timers_.empty() && !timers_.front().timer->isValid()) {
        std::pop_heap(timers_.begin(), timers_.end(), firesLater);
        timers_.pop_back();
    }
    if (timers_.empty()) {
        return std::nullopt;
    }
    return timers_.front().date;
}

bool RunLoop::fireNextTimer(Clock::Duration limit)
{
    const auto date = nextFireDate();
    if (!date || *date > limit) {
        return false;
    }
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        std::pop_heap(timers_.begin(), timers_.end(), firesLater);
        entry = std::move(timers_.back());
        timers_.pop_back();
    }
    runReportingFailures("RunLoop", [&] { entry.timer->fire(); });
    if (entry.timer->repeats() && entry.timer->isValid()) {
        const auto next = nextDateAfter(entry.date, entry.timer->interval_, Clock::now());
        std::lock_guard lock(mutex_);
        timers_.push_back(Entry{next, entry.order, std::move(entry.timer)});
        std::push_heap(timers_.begin(), timers_.end(), firesLater);
    }
    return true;
}

void RunLoop::fireDueTimers()
{
    const auto now = Clock::now();
    while (fireNextTimer(now)) {
    }
}

std::size_t RunLoop::runPostedBlocks()
{
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        count = blocks_.size();
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::function<void()> block;
        {
            std::lock_guard lock(mutex_);
            if (blocks_.empty()) {
                return i;
            }
            block = std::move(blocks_.front());
            blocks_.pop_front();
        }
        if (block) {
            runReportingFailures("RunLoop", block);
        }
    }
    return count;
}

void RunLoop::drainPostedBlocks()
{
    while (runPostedBlocks() > 0) {
    }
}

void RunLoop::waitForWork(std::chrono::steady_clock::time_point deadline)
{
    auto wakeAt = deadline;
    if (!Clock::isManual()) {
        if (const auto date = nextFireDate()) {
            wakeAt = std::min(wakeAt, std::chrono::steady_clock::time_point(
                                          std::chrono::duration_cast<
                                              std::chrono::steady_clock::duration>(*date)));
        }
    }
    std::unique_lock lock(mutex_);
    if (!blocks_.empty() || stopRequested_) {
        return;
    }
    if (wakeAt == std::chrono::steady_clock::time_point::max()) {
        wake_.wait(lock);
    } else {
        wake_.wait_until(lock, wakeAt);
    }
}

void RunLoop::discardAll()
{
    std::vector<Entry> timers;
    std::deque<std::function<void()>> blocks;
    {
        std::lock_guard lock(mutex_);
        timers.swap(timers_);
        blocks.swap(blocks_);
    }
    for (auto& entry : timers) {
        entry.timer->invalidate();
    }
}
