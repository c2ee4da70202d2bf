#pragma once

#include <functional>
#include <memory>
#include <thread>

// A thread of its own that runs a handler after notify(). notify() may be
// called on the render thread: it neither allocates, locks nor waits.
// Notifications that arrive before the handler starts are served by one run,
// so the handler must deal with everything that is pending.
class RealtimeNotifier {
public:
    explicit RealtimeNotifier(std::function<void()> handler);
    // Ends the thread after the handler's current run; notifications not yet
    // served are dropped. The handler may destroy its own notifier.
    ~RealtimeNotifier();
    RealtimeNotifier(const RealtimeNotifier&) = delete;
    RealtimeNotifier& operator=(const RealtimeNotifier&) = delete;

    void notify();
    // Waits until the handler has run after every notify() made so far.
    // Returns at once on the notifier's own thread.
    void flush();

private:
    class State;

    std::shared_ptr<State> state_;
    std::thread thread_;
};
