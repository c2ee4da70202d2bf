#include "RealtimeNotifier.h"

#include <semaphore.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "ReportingFailures.h"

// Shared by the notifier and its thread, so that the thread can finish a run
// after the notifier is gone.
class RealtimeNotifier::State {
public:
    explicit State(std::function<void()> handler)
        : handler_(std::move(handler))
    {
        ::sem_init(&semaphore_, 0, 0);
    }
    ~State() { ::sem_destroy(&semaphore_); }

    // A request counted before `pending_` is seen set is served by the run
    // that clears it; one counted after sets it again and posts a new run.
    void notify()
    {
        requested_.fetch_add(1);
        if (!pending_.exchange(true))
            ::sem_post(&semaphore_);
    }

    void stop()
    {
        stopping_.store(true);
        ::sem_post(&semaphore_);
    }

    void flush()
    {
        const std::uint64_t target = requested_.load();
        std::unique_lock lock(mutex_);
        served_.wait(lock, [&] { return handled_ >= target; });
    }

    void serve()
    {
        for (;;) {
            while (::sem_wait(&semaphore_) != 0) {
            }
            if (stopping_.load())
                return;
            pending_.store(false);
            const std::uint64_t seen = requested_.load();
            runReportingFailures("RealtimeNotifier", handler_);
            std::lock_guard lock(mutex_);
            handled_ = seen;
            served_.notify_all();
        }
    }

private:
    std::function<void()> handler_;
    sem_t semaphore_;
    std::atomic<bool> pending_ { false };
    std::atomic<bool> stopping_ { false };
    std::atomic<std::uint64_t> requested_ { 0 };
    std::mutex mutex_;
    std::condition_variable served_;
    std::uint64_t handled_ = 0;
};

RealtimeNotifier::RealtimeNotifier(std::function<void()> handler)
    : state_(std::make_shared<State>(std::move(handler)))
{
    thread_ = std::thread([state = state_] { state->serve(); });
}

RealtimeNotifier::~RealtimeNotifier()
{
    state_->stop();
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

void RealtimeNotifier::notify() { state_->notify(); }

void RealtimeNotifier::flush()
{
    if (thread_.get_id() != std::this_thread::get_id())
        state_->flush();
}

