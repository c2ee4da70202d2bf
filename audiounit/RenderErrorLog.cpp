#include "RenderErrorLog.h"

#include <utility>

RenderErrorLog::RenderErrorLog(std::function<void(AUAudioUnitStatus)> print)
    : print_(std::move(print))
    , thread_([this] { run(); })
{
}

RenderErrorLog::~RenderErrorLog()
{
    stopping_.store(true, std::memory_order_release);
    wakeups_.fetch_add(1, std::memory_order_release);
    wakeups_.notify_one();
    thread_.join();
}

void RenderErrorLog::report(AUAudioUnitStatus status) noexcept
{
    const std::uint32_t written = written_.load(std::memory_order_relaxed);
    if (written - read_.load(std::memory_order_acquire) >= kCapacity)
        return;
    statuses_[written % kCapacity] = status;
    written_.store(written + 1, std::memory_order_release);
    wakeups_.fetch_add(1, std::memory_order_release);
    wakeups_.notify_one();
}

void RenderErrorLog::run()
{
    for (;;) {
        // Taken before printing, so that a report arriving meanwhile ends the wait at once.
        const std::uint32_t seen = wakeups_.load(std::memory_order_acquire);
        printPending();
        if (stopping_.load(std::memory_order_acquire)) {
            printPending();
            return;
        }
        wakeups_.wait(seen, std::memory_order_acquire);
    }
}

void RenderErrorLog::printPending()
{
    const std::uint32_t written = written_.load(std::memory_order_acquire);
    for (std::uint32_t read = read_.load(std::memory_order_relaxed); read != written; ++read) {
        print_(statuses_[read % kCapacity]);
        read_.store(read + 1, std::memory_order_release);
    }
}
