#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

// A thread's place among this process's threads that want one lock file,
// from its coming until it goes. They are served in the order they came, so
// that none waits on another that asked later, as each would when all of them
// tried the file again and again. A place gives up once the lock has stayed
// with others for its whole patience without changing hands, or after
// kMostPatiences of it in all, as others may keep taking it.
class LockTurn {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kMostPatiences = 4;
    // Longer than another process waits between its tries of the file.
    static constexpr std::chrono::milliseconds kOthersChance{2};
    // How long this process's threads may have the lock one after another
    // before they leave it free for kOthersChance: short beside the patience,
    // long beside the chance, which so costs little.
    static constexpr std::chrono::milliseconds kLongestRun{50};

    LockTurn(const std::string& path, Clock::duration patience);
    ~LockTurn();
    LockTurn(const LockTurn&) = delete;
    LockTurn& operator=(const LockTurn&) = delete;

    // Waits until no thread that came earlier is still here; then, when this
    // process has had the lock for longer than kLongestRun and just let it
    // go, until kOthersChance has passed, so that other processes have it in
    // turn too. False when the patience ran out first.
    bool awaitFirst();
    // Whether the patience has now run out.
    bool patienceOver() const;
    // How long the wait lasted, once the patience has run out.
    Clock::duration waited() const;
    // The lock changed hands now in another process.
    void changedHands();
    // This process took the lock now.
    void took();
    // This process let the lock go now.
    void letGo();

private:
    struct Queue;

    static std::shared_ptr<Queue> queueOf(const std::string& path);
    Clock::time_point deadline() const;

    std::shared_ptr<Queue> queue_;
    std::uint64_t ticket_;
    Clock::time_point came_;
    Clock::duration patience_;
};
