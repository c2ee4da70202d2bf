// Counts heap allocations on the render thread while the engine plays a file
// through an audio unit into its mixer, across the file's end. Replacing the
// global allocator clashes with the sanitizers' own, so the check exists only
// in the plain build.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include "../support/GainAudioUnit.h"
#include "EngineRig.h"

#include "AVAudioUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

thread_local bool watching = false;
std::atomic<long> allocations { 0 };

// Renders on the test's thread into buffers it holds, watching only the render.
class WatchedOutput : public AudioOutputDevice {
public:
    void start(Renderer renderer) override { renderer_ = std::move(renderer); }
    void stop() override { renderer_ = nullptr; }

    void render(AUAudioFrameCount frames)
    {
        AudioBufferList list;
        list.mNumberBuffers = 2;
        for (std::uint32_t channel = 0; channel < 2; ++channel)
            list.mBuffers[channel] = { 1, frames * 4, samples_[channel] };
        watching = true;
        renderer_(frames, list);
        watching = false;
    }

private:
    Renderer renderer_;
    float samples_[2][4096] = {};
};

} // namespace

void* operator new(std::size_t size)
{
    if (watching)
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(EngineRenderAllocationTest, RenderingAFileThroughAUnitTakesNothingFromTheHeap)
{
    EngineRig rig;
    const auto output = std::make_shared<WatchedOutput>();
    rig.engine.setOutputDevice(output);
    const auto unit = std::make_shared<AVAudioUnit>(std::make_shared<GainAudioUnit>());
    rig.engine.attach(unit);
    rig.engine.connect(rig.player, unit, nullptr);
    rig.engine.connect(unit, rig.engine.mainMixerNode(), nullptr);
    const auto file = rig.file("a.wav", { rampChannel(6000, 1e-4f) });
    rig.player->scheduleFile(file, nullptr);
    rig.player->scheduleFile(file, nullptr);
    rig.player->play();
    rig.engine.start();

    for (int cycle = 0; cycle < 30; ++cycle)
        output->render(cycle % 2 == 0 ? 512 : 1000);
    rig.player->flushCompletions();
    EXPECT_EQ(allocations.load(), 0);
}

#endif
