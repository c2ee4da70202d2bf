#include "LockTurn.h"

#include <algorithm>
#include <condition_variable>
#include <list>
#include <map>
#include <mutex>

struct LockTurn::Queue {
    std::mutex mutex;
    std::condition_variable left;
    std::list<std::uint64_t> waiting;
    std::uint64_t nextTicket = 0;
    Clock::time_point changedHands {};
};

// One queue for each lock file that some thread of the process wants now.
std::shared_ptr<LockTurn::Queue> LockTurn::queueOf(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<Queue>> queues;
    std::lock_guard lock(mutex);
    std::erase_if(queues, [](const auto& entry) { return entry.second.expired(); });
    auto& entry = queues[path];
    auto queue = entry.lock();
    if (!queue) {
        queue = std::make_shared<Queue>();
        entry = queue;
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
    return true;
}

bool LockTurn::patienceOver() const
{
    std::lock_guard lock(queue_->mutex);
    return Clock::now() >= deadline();
}

void LockTurn::changedHands()
{
    std::lock_guard lock(queue_->mutex);
    queue_->changedHands = Clock::now();
}

// Called with the queue's mutex held.
LockTurn::Clock::time_point LockTurn::deadline() const
{
    return std::max(came_, queue_->changedHands) + patience_;
}
