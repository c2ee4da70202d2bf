// Counts heap allocations to show that the unit's render block, with its MIDI
// output hand-over and its error report, never allocates. Replacing the global
// allocator clashes with the sanitizers' own, so the check exists only in the
// plain build.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include "AudioUnitTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "Console.h"

namespace {

// Only the rendering thread is watched: the error log prints, and so
// allocates, on a thread of its own.
thread_local bool watching = false;
std::atomic<long> allocations { 0 };

void countIfWatching()
{
    if (watching)
        allocations.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

void* operator new(std::size_t size)
{
    countIfWatching();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    countIfWatching();
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(RenderAllocationTest, RenderBlockRunsWithoutTheHeap)
{
    Console::Capture capture;
    const auto unit = makeUnit();
    unit->setMIDIOutputEventBlock(std::make_shared<const AUMIDIOutputEventBlock>(
        [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return noErr; }));
    unit->allocateRenderResources();
    const AURenderBlock block = unit->renderBlock();
    StereoOutput output(4097);
    const AURenderPullInputBlock pull = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                           std::int64_t, AudioBufferList*) { return noErr; };
    ASSERT_EQ(output.render(block, 512, pull), noErr);

    watching = true;
    for (int cycle = 0; cycle < 20; ++cycle)
        ASSERT_EQ(output.render(block, 512, pull), noErr);
    ASSERT_EQ(output.render(block, 4097, pull), kAudioUnitErr_TooManyFramesToProcess);
    watching = false;
    EXPECT_EQ(allocations.load(), 0);
}

#endif
