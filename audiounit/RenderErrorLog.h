#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "AudioTypes.h"

// Carries failing render statuses off the render thread: report() only writes
// to a fixed ring and wakes the log's own thread, which hands each status to
// the print function in report order. One render thread reports at a time.
// When the ring is full, further statuses are dropped until the thread catches up.
class RenderErrorLog {
public:
    explicit RenderErrorLog(std::function<void(AUAudioUnitStatus)> print);
    // Prints every status still pending, then stops the thread.
    ~RenderErrorLog();
    RenderErrorLog(const RenderErrorLog&) = delete;
    RenderErrorLog& operator=(const RenderErrorLog&) = delete;

    // Render thread: no allocation, no lock, no I/O.
    void report(AUAudioUnitStatus status) noexcept;

private:
    static constexpr std::uint32_t kCapacity = 64;

    void run();
    void printPending();

    std::function<void(AUAudioUnitStatus)> print_;
    std::array<AUAudioUnitStatus, kCapacity> statuses_ {};
    std::atomic<std::uint32_t> written_ { 0 };
    std::atomic<std::uint32_t> read_ { 0 };
    std::atomic<std::uint32_t> wakeups_ { 0 };
    std::atomic<bool> stopping_ { false };
    std::thread thread_;
};
