#include "LockTurn.h"

#include <algorithm>
#include <condition_variable>
#include <list>
#include <map>
#include <mutex>
#include <thread>

struct LockTurn::Queue {
    // Whether this process let the lock go long enough ago that the next
    // thread to want it need not wait for other processes.
    bool idle()
    {
        std::lock_guard lock(mutex);
        return Clock::now() >= letGo + kOthersChance;
    }

    std::mutex mutex;
    std::condition_variable left;
    std::list<std::uint64_t> waiting;
    std::uint64_t nextTicket = 0;
    Clock::time_point changedHands {};
    Clock::time_point letGo {};
    // When this process's threads began to have the lock one after another.
    Clock::time_point runBegan {};
};

// One queue for each lock file that some thread of the process wants now or
// let go of just now.
std::shared_ptr<LockTurn::Queue> LockTurn::queueOf(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<Queue>> queues;
    std::lock_guard lock(mutex);
    std::erase_if(queues, [](const auto& entry) { return entry.second.use_count() == 1 && entry.second->idle(); });
    auto& queue = queues[path];
    if (!queue) {
        queue = std::make_shared<Queue>();
    }
    return queue;
}

LockTurn::LockTurn(const std::string& path, Clock::duration patience)
    : queue_(queueOf(path)), came_(Clock::now()), patience_(patience)
{
    std::lock_guard lock(queue_->mutex);
    ticket_ = queue_->nextTicket++;
    queue_->waiting.push_back(ticket_);
}

LockTurn::~LockTurn()
{
    {
        std::lock_guard lock(queue_->mutex);
        queue_->waiting.remove(ticket_);
    }
    queue_->left.notify_all();
}

bool LockTurn::awaitFirst()
{
    std::unique_lock lock(queue_->mutex);
    while (queue_->waiting.front() != ticket_) {
        if (queue_->left.wait_until(lock, deadline()) == std::cv_status::timeout && Clock::now() >= deadline()) {
            return false;
        }
    }
    if (queue_->letGo - queue_->runBegan > kLongestRun) {
        const auto othersChance = queue_->letGo + kOthersChance;
        lock.unlock();
        std::this_thread::sleep_until(othersChance);
    }
    return true;
}

bool LockTurn::patienceOver() const
{
    std::lock_guard lock(queue_->mutex);
    return Clock::now() >= deadline();
}

LockTurn::Clock::duration LockTurn::waited() const
{
    std::lock_guard lock(queue_->mutex);
    return deadline() - came_;
}

void LockTurn::changedHands()
{
    std::lock_guard lock(queue_->mutex);
    queue_->changedHands = Clock::now();
}

void LockTurn::took()
{
    std::lock_guard lock(queue_->mutex);
    const auto now = Clock::now();
    if (now >= queue_->letGo + kOthersChance) {
        queue_->runBegan = now;
    }
}

void LockTurn::letGo()
{
    std::lock_guard lock(queue_->mutex);
    queue_->changedHands = queue_->letGo = Clock::now();
}

// Called with the queue's mutex held.
LockTurn::Clock::time_point LockTurn::deadline() const
{
    return std::min(std::max(came_, queue_->changedHands) + patience_, came_ + kMostPatiences * patience_);
}
