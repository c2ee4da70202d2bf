#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// Facts about the running process.
class ProcessInfo {
public:
    static ProcessInfo& processInfo();

    // A text that no other call, in this process or any other, returns: a
    // random per-process part, the process id and a per-call counter.
    std::string globallyUniqueString();
    // The running program's file name.
    std::string processName() const;
    int processIdentifier() const;

private:
    ProcessInfo();

    std::uint64_t salt_;
    std::atomic<std::uint64_t> counter_{0};
};
