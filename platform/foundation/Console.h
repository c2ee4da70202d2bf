#pragma once

#include <string>
#include <string_view>
#include <vector>

// The process's one console. Every log line of the programs goes through
// print(), so that lines from different threads never interleave and tests can
// read exactly what was printed.
class Console {
public:
    // Writes `line` followed by '\n' to standard output as one unit and
    // flushes it. Safe to call from any thread (not from the render thread).
    static void print(std::string_view line);

    // While a Capture lives, printed lines are collected by it instead of
    // going to standard output. Captures nest: the newest one receives the
    // lines until it is destroyed. Lines printed by any thread are captured.
    class Capture {
    public:
        Capture();
        ~Capture();
        Capture(const Capture&) = delete;
        Capture& operator=(const Capture&) = delete;

        // The lines printed so far, without their line ends, in print order.
        std::vector<std::string> lines() const;

    private:
        friend class Console;
        Capture* previous_;
        std::vector<std::string> lines_;
    };
};
