#include "ScopedDenormalFlush.h"

#if defined(__SSE__)
#include <xmmintrin.h>

namespace {
constexpr std::uint32_t kFlushToZero = 0x8000;
constexpr std::uint32_t kDenormalsAreZero = 0x0040;
} // namespace

ScopedDenormalFlush::ScopedDenormalFlush()
    : saved(_mm_getcsr())
{
    _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero);
}

ScopedDenormalFlush::~ScopedDenormalFlush()
{
    _mm_setcsr(saved);
}
#else
ScopedDenormalFlush::ScopedDenormalFlush() = default;
ScopedDenormalFlush::~ScopedDenormalFlush() = default;
#endif
