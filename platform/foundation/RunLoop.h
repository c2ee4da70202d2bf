#pragma once

#include "Clock.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class Timer;

// A thread's event loop: a heap of timers ordered by fire date and a queue of
// posted blocks. The process's main thread has the main run loop, which also
// drains DispatchQueue::main(); every other thread gets its own on first use
// of current(). Timers and blocks run on the thread that runs the loop. A
// block or timer that throws is reported on the Console and the loop goes on.
class RunLoop {
public:
    static RunLoop& main();
    // The calling thread's run loop (main() on the main thread).
    static RunLoop& current();
    static bool isMainThread();

    // Posts a block to run on this loop's thread. Thread-safe.
    void perform(std::function<void()> block);

    // Runs until stop() is called (from a block, a timer or another thread).
    void run();
    // Ends the innermost run(); does nothing when the loop is not running.
    void stop();
    // Runs until `done()` is true or until `timeoutSeconds` of real time have
    // passed; returns `done()`. `done()` is checked after each pass, and the
    // loop wakes only for its timers and posted blocks, so another thread
    // should signal the loop by posting the change as a block.
    bool runUntil(const std::function<bool()>& done, double timeoutSeconds);
    // One pass without waiting: fires the timers that are due and the blocks
    // posted so far.
    void runPending();

    // Lets a loop that another event loop drives (the application shell's)
    // learn that there is new work: `handler` is called, on the posting
    // thread and under the loop's lock, whenever a block is posted, a timer
    // is added or a stop is requested. It must be quick and must not call
    // back into this loop. An empty handler removes it.
    void setWakeHandler(std::function<void()> handler);
    // Whether blocks are waiting to run.
    bool hasPostedBlocks();
    // The date of the earliest valid timer, or none.
    std::optional<Clock::Duration> nextFireDate();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;
    ~RunLoop();

private:
    friend class Timer;
    friend class ManualClock;

    struct Entry {
        Clock::Duration date;
        std::uint64_t order;
        std::shared_ptr<Timer> timer;
    };

    RunLoop() = default;

    static bool firesLater(const Entry& a, const Entry& b);

    void add(std::shared_ptr<Timer> timer, Clock::Duration date);
    // Signals waiters; called with the lock held.
    void wakeLocked();
    // Fires the earliest timer if it is due by `limit`; false when none is.
    bool fireNextTimer(Clock::Duration limit);
    void fireDueTimers();
    // Runs the blocks that were posted before the call; returns how many.
    std::size_t runPostedBlocks();
    // Runs posted blocks until none are left, also those they post.
    void drainPostedBlocks();
    void waitForWork(std::chrono::steady_clock::time_point deadline);
    // Invalidates every timer and drops every posted block.
    void discardAll();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Entry> timers_;
    std::uint64_t nextOrder_ = 0;
    std::deque<std::function<void()>> blocks_;
    std::function<void()> wakeHandler_;
    int runDepth_ = 0;
    bool stopRequested_ = false;
};
