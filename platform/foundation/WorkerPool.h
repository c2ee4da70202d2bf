#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

// The threads behind the global and serial dispatch queues. It starts a new
// thread whenever work arrives and no thread is idle (up to a limit), so that
// blocks waiting on each other do not starve the pool. Its threads live for
// the rest of the process.
class WorkerPool {
public:
    static WorkerPool& shared();

    // Runs `work` on one of the pool's threads.
    void submit(std::function<void()> work);

private:
    WorkerPool() = default;
    void serve();

    static constexpr std::size_t kMaximumThreads = 64;

    std::mutex mutex_;
    std::condition_variable available_;
    std::deque<std::function<void()>> work_;
    std::size_t threads_ = 0;
    std::size_t idle_ = 0;
};
