#include "DispatchQueue.h"

#include "ReportingFailures.h"
#include "RunLoop.h"
#include "WorkerPool.h"

#include <deque>
#include <future>
#include <mutex>

// What a queue is and where its blocks run; DispatchQueue handles share it.
class DispatchQueue::Kind : public std::enable_shared_from_this<Kind> {
public:
    enum class Type { main, global, serial };

    Kind(Type type, std::string label) : type_(type), label_(std::move(label)) {}

    const std::string& label() const { return label_; }

    void async(Block block)
    {
        switch (type_) {
        case Type::main:
            RunLoop::main().perform(std::move(block));
            break;
        case Type::global:
            WorkerPool::shared().submit(std::move(block));
            break;
        case Type::serial:
            enqueue(std::move(block));
            break;
        }
    }

    // Whether the calling thread is already running this queue's blocks, so
    // that waiting for the queue would wait for itself.
    bool isRunningHere() const
    {
        switch (type_) {
        case Type::main:
            return RunLoop::isMainThread();
        case Type::global:
            return true;
        case Type::serial:
            return draining_ == this;
        }
        return false;
    }

private:
    void enqueue(Block block)
    {
        bool startDraining = false;
        {
            std::lock_guard lock(mutex_);
            pending_.push_back(std::move(block));
            startDraining = !isDraining_;
            isDraining_ = true;
        }
        if (startDraining) {
            WorkerPool::shared().submit([self = shared_from_this()] { self->drain(); });
        }
    }

    // Runs the pending blocks one after the other on one pool thread until
    // none is left; a later async() starts a new drain.
    void drain()
    {
        draining_ = this;
        for (;;) {
            Block block;
            {
                std::lock_guard lock(mutex_);
                if (pending_.empty()) {
                    isDraining_ = false;
                    break;
                }
                block = std::move(pending_.front());
                pending_.pop_front();
            }
            runReportingFailures("DispatchQueue", block);
        }
        draining_ = nullptr;
    }

    static thread_local const Kind* draining_;

    const Type type_;
    const std::string label_;
    std::mutex mutex_;
    std::deque<Block> pending_;
    bool isDraining_ = false;
};

thread_local const DispatchQueue::Kind* DispatchQueue::Kind::draining_ = nullptr;

DispatchQueue::DispatchQueue(std::string label)
    : kind_(std::make_shared<Kind>(Kind::Type::serial, std::move(label)))
{
}

DispatchQueue::DispatchQueue(std::shared_ptr<Kind> kind) : kind_(std::move(kind)) {}

DispatchQueue& DispatchQueue::main()
{
    // Never destroyed, like the main run loop it feeds.
    static DispatchQueue* queue =
        new DispatchQueue(std::make_shared<Kind>(Kind::Type::main, "main"));
    return *queue;
}

DispatchQueue& DispatchQueue::global(DispatchQoS)
{
    static DispatchQueue* queue =
        new DispatchQueue(std::make_shared<Kind>(Kind::Type::global, "global"));
    return *queue;
}

void DispatchQueue::async(Block block) const
{
    kind_->async(std::move(block));
}

const std::string& DispatchQueue::label() const
{
    return kind_->label();
}

void DispatchQueue::runAndWait(const std::function<void()>& work) const
{
    if (kind_->isRunningHere()) {
        work();
        return;
    }
    auto finished = std::make_shared<std::promise<void>>();
    auto done = finished->get_future();
    kind_->async([&work, finished] {
        try {
            work();
            finished->set_value();
        } catch (...) {
            finished->set_exception(std::current_exception());
        }
    });
    done.get();
}
