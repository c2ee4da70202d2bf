#pragma once

#include <cstdint>

// While alive, the calling thread treats subnormal floats as zero (inputs and
// results), so decaying spectra and filter tails never hit the slow path; the
// previous mode comes back on destruction. Does nothing on processors without
// such a mode.
class ScopedDenormalFlush {
public:
    ScopedDenormalFlush();
    ~ScopedDenormalFlush();
    ScopedDenormalFlush(const ScopedDenormalFlush&) = delete;
    ScopedDenormalFlush& operator=(const ScopedDenormalFlush&) = delete;

private:
    std::uint32_t saved = 0;
};
