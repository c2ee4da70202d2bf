#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

// Quality of service of a global queue; every level shares one thread pool.
enum class DispatchQoS { background, utility, default_, userInitiated, userInteractive };

// A queue of blocks. Three kinds:
// - main(): runs its blocks on the main thread, drained by RunLoop::main();
// - global(): concurrent, runs blocks on pool threads;
// - DispatchQueue(label): a new serial queue, one block at a time in FIFO
//   order, on pool threads.
// A DispatchQueue is a handle: copies refer to the same queue, and a serial
// queue lives while a handle or a pending block refers to it.
class DispatchQueue {
public:
    using Block = std::function<void()>;

    explicit DispatchQueue(std::string label);

    static DispatchQueue& main();
    static DispatchQueue& global(DispatchQoS qos = DispatchQoS::default_);

    // Queues the block and returns at once. Thread-safe.
    void async(Block block) const;

    // Runs `work` on the queue, waits for it and returns its result; an
    // exception it throws comes out here. Called from the queue itself (the
    // main thread for main(), a block of this serial queue), it runs `work`
    // in place rather than waiting on itself forever.
    template <class Work>
    auto sync(Work&& work) const -> std::invoke_result_t<Work&>
    {
        using Result = std::invoke_result_t<Work&>;
        if constexpr (std::is_void_v<Result>) {
            runAndWait([&] { work(); });
        } else {
            std::optional<Result> result;
            runAndWait([&] { result.emplace(work()); });
            return std::move(*result);
        }
    }

    const std::string& label() const;

private:
    class Kind;

    explicit DispatchQueue(std::shared_ptr<Kind> kind);
    void runAndWait(const std::function<void()>& work) const;

    std::shared_ptr<Kind> kind_;
};
