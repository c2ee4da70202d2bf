#include "WorkerPool.h"

#include "ReportingFailures.h"

#include <thread>

WorkerPool& WorkerPool::shared()
{
    // Never destroyed: its detached threads may run until the process ends.
    static WorkerPool* pool = new WorkerPool;
    return *pool;
}

void WorkerPool::submit(std::function<void()> work)
{
    bool startThread = false;
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
        startThread = idle_ < work_.size() && threads_ < kMaximumThreads;
        if (startThread) {
            ++threads_;
        }
    }
    if (startThread) {
        std::thread([this] { serve(); }).detach();
    } else {
        available_.notify_one();
    }
}

void WorkerPool::serve()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        available_.wait(lock, [this] { return !work_.empty(); });
        --idle_;
        auto work = std::move(work_.front());
        work_.pop_front();
        lock.unlock();
        runReportingFailures("DispatchQueue", work);
        work = nullptr;
        lock.lock();
    }
}
