// Two threads on one adapter, as in a running plug-in: the render thread renders
// (and applies render events) while the interface thread sets parameters, reads
// magnitudes, tables and meters, and replaces the MIDI output block. Run under
// ThreadSanitizer these show that the two never race.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "KernelRig.h"
#include "MIDIOutputBlockSlot.h"
#include "SignalProbe.h"

using namespace kernel_rig;

TEST(KernelAdapterRaceTest, InterfaceThreadSetsAndReadsWhileTheRenderThreadRenders)
{
    auto rig = std::make_unique<Rig>();
    pushWorkingDefaults(*rig->adapter);
    rig->allocate();
    constexpr AUAudioFrameCount kBlock = 256;
    constexpr int kCycles = 200;
    rig->setInput(probe::sine(440.0, 48000.0, kBlock * kCycles, 0.4),
                  probe::noise(kBlock * kCycles, 3, 0.2f));

    std::atomic<bool> rendering{true};
    std::atomic<int> failures{0};
    std::thread renderThread([&] {
        std::vector<float> left(kBlock);
        std::vector<float> right(kBlock);
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            const AURenderEvent event =
                parameterEvent(static_cast<AUEventSampleTime>(rig->cursor + kBlock / 2),
                               1000 + static_cast<AUParameterAddress>(cycle % 128),
                               0.25f + 0.5f * static_cast<float>(cycle % 2));
            AudioBufferList out = Rig::stereoList(left.data(), right.data(), kBlock);
            AudioTimeStamp stamp;
            stamp.mSampleTime = static_cast<double>(rig->cursor);
            if (rig->adapter->render(nullptr, &stamp, kBlock, 0, &out, &event, rig->pull) != noErr)
                failures.fetch_add(1);
            for (std::size_t i = 0; i < kBlock; ++i) {
                if (!std::isfinite(left[i]) || !std::isfinite(right[i]))
                    failures.fetch_add(1);
            }
            rig->cursor += kBlock;
        }
        rendering.store(false);
    });

    int rounds = 0;
    float seen = 0.0f;
    while (rendering.load()) {
        Adapter& adapter = *rig->adapter;
        set(adapter, kOperationMode, static_cast<float>(rounds % 4));
        set(adapter, kProcessingMode, static_cast<float>(rounds % 5));
        set(adapter, kRangeLeft, static_cast<float>(rounds % 60));
        set(adapter, kRangeRight, 127.0f - static_cast<float>(rounds % 50));
        set(adapter, kMix, 0.5f);
        set(adapter, bandAddress(1, rounds % 128), 0.6f);
        adapter.setAUMIDIOutputEventBlock(std::make_shared<const AUMIDIOutputEventBlock>(
            [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return noErr; }));
        const float* magnitudes = adapter.getChromaticMagnitutes();
        float* bands = adapter.getBands(0);
        for (int n = 0; n < 128; ++n)
            seen += magnitudes[n] + std::atomic_ref<float>(bands[n]).load(std::memory_order_relaxed);
        seen += adapter.getPeakInput() + adapter.getPeakOutput() + get(adapter, bandAddress(0, rounds % 128));
        ++rounds;
        std::this_thread::yield();
    }
    renderThread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_GT(rounds, 0);
    EXPECT_TRUE(std::isfinite(seen));
}

// The render thread installs its own block before every cycle, as the audio
// unit's render block does, while another thread keeps replacing it. Every
// call must reach a live block: each block answers from state that would be
// gone had it been freed.
TEST(KernelAdapterRaceTest, BlocksStoredFromBothThreadsStayAliveWhileCalled)
{
    auto makeBlock = [] {
        auto state = std::make_shared<std::vector<OSStatus>>(64, 1);
        return std::make_shared<const AUMIDIOutputEventBlock>(
            [state](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return (*state)[63]; });
    };
    MIDIOutputBlockSlot slot;
    std::atomic<bool> running{true};
    std::atomic<long> calls{0};
    std::atomic<long> wrongAnswers{0};
    const auto renderBlocksOwn = makeBlock();
    std::thread renderThread([&] {
        while (running.load()) {
            slot.storeFromRenderThread(renderBlocksOwn);
            if (const AUMIDIOutputEventBlock* block = slot.borrow()) {
                if ((*block)(0, 0, 0, nullptr) != 1)
                    wrongAnswers.fetch_add(1);
                calls.fetch_add(1);
            }
            slot.release();
        }
    });
    for (int i = 0; i < 2000 || calls.load() < 1000; ++i)
        slot.store(makeBlock());
    slot.store(nullptr);
    running.store(false);
    renderThread.join();
    EXPECT_EQ(wrongAnswers.load(), 0);
    EXPECT_GE(calls.load(), 1000);
}
