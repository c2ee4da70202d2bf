#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

// A thread's place among this process's threads that want one lock file,
// from its coming until it goes. They are served in the order they came, so
// that none waits on another that asked later, as each would when all of them
// tried the file again and again. A place gives up only once the lock has
// stayed with others for its whole patience without changing hands.
class LockTurn {
public:
    using Clock = std::chrono::steady_clock;

    LockTurn(const std::string& path, Clock::duration patience);
    ~LockTurn();
    LockTurn(const LockTurn&) = delete;
    LockTurn& operator=(const LockTurn&) = delete;

    // Waits until no thread that came earlier is still here; false when the
    // patience ran out first.
    bool awaitFirst();
    // Whether the lock has now stayed with others for the whole patience,
    // counted from this place's coming or the last change of hands.
    bool patienceOver() const;
    // The lock changed hands now, here or in another process.
    void changedHands();

private:
    struct Queue;

    static std::shared_ptr<Queue> queueOf(const std::string& path);
    Clock::time_point deadline() const;

    std::shared_ptr<Queue> queue_;
    std::uint64_t ticket_;
    Clock::time_point came_;
    Clock::duration patience_;
};
