#pragma once

#include <atomic>

// Lets one render thread read state that other threads change, without a lock
// on the render thread. A thread that changes the state closes the gate, which
// waits for a render in progress to leave; a render that finds the gate closed
// does not enter and renders silence instead. Closing threads must be
// serialised by their own lock.
class RenderGate {
public:
    explicit RenderGate(bool open = true);
    RenderGate(const RenderGate&) = delete;
    RenderGate& operator=(const RenderGate&) = delete;

    // Render thread: true when the render may use the state; then leave() follows.
    bool tryEnter();
    void leave();

    // Other threads.
    void close();
    void open();

    // Keeps the gate closed for its lifetime.
    class Closed {
    public:
        explicit Closed(RenderGate& gate);
        ~Closed();
        Closed(const Closed&) = delete;
        Closed& operator=(const Closed&) = delete;

    private:
        RenderGate& gate_;
    };

private:
    std::atomic<bool> closed_;
    std::atomic<bool> rendering_ { false };
};
