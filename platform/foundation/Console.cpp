#include "Console.h"

#include <cstdio>
#include <mutex>

namespace {

// One lock for the whole console: it orders writes to standard output and
// guards the chain of active captures.
std::mutex& consoleMutex()
{
    static std::mutex mutex;
    return mutex;
}

Console::Capture*& activeCapture()
{
    static Console::Capture* capture = nullptr;
    return capture;
}

} // namespace

void Console::print(std::string_view line)
{
    std::lock_guard lock(consoleMutex());
    if (Capture* capture = activeCapture()) {
        capture->lines_.emplace_back(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

Console::Capture::Capture()
{
    std::lock_guard lock(consoleMutex());
    previous_ = activeCapture();
    activeCapture() = this;
}

Console::Capture::~Capture()
{
    std::lock_guard lock(consoleMutex());
    // Captures are scoped objects, so the newest one normally goes first; an
    // out-of-order destruction still unlinks exactly this capture.
    Capture** link = &activeCapture();
    while (*link != nullptr && *link != this) {
        link = &(*link)->previous_;
    }
    if (*link == this) {
        *link = previous_;
    }
}

std::vector<std::string> Console::Capture::lines() const
{
    std::lock_guard lock(consoleMutex());
    return lines_;
}
