#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe that code under test must never open. A watcher notes any
// reader that opens it and lets a reader stuck in opening it go at once, so
// that the test ends and can tell the fault instead of hanging.
class PipeTrap {
public:
    explicit PipeTrap(const std::filesystem::path& path)
    {
        if (::mkfifo(path.c_str(), 0600) != 0)
            throw std::runtime_error("cannot make the pipe " + path.string());
        watcher_ = std::jthread([this, path](std::stop_token stop) {
            while (!stop.stop_requested()) {
                // Opening the writing end succeeds only while a reader has the pipe open.
                const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (writer >= 0) {
                    opened_ = true;
                    ::close(writer);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }

    bool wasOpened() const { return opened_; }

private:
    std::atomic<bool> opened_ { false };
    std::jthread watcher_;
};
