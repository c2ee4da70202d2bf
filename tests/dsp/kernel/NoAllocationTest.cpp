// Counts heap allocations to show that running frames never allocates once an
// engine is set up. Replacing the global allocator clashes with the
// sanitizers' own, so the check exists only in the plain build.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include "Analyzer.h"
#include "KernelRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

// The array forms forward to these by default.
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(NoAllocationTest, TheCounterSeesAllocations) {
    const long before = allocations.load();
    std::vector<float>* counted = new std::vector<float>(10);
    EXPECT_GE(allocations.load(), before + 2);
    delete counted;
}

TEST(NoAllocationTest, ChromaticAnalysisRunsWithoutTheHeap) {
    VELMORA::Analyzer analyzer(4096, 4, 48000.0f);
    analyzer.setChromatic(true);
    std::vector<float> samples(48000);
    for (std::size_t t = 0; t < samples.size(); ++t) {
        samples[t] = static_cast<float>(std::sin(0.05 * static_cast<double>(t)));
    }
    const long before = allocations.load();
    analyzer.process(samples.data(), static_cast<int>(samples.size()));
    analyzer.scala.getChromatic(0, 128, true);
    analyzer.process(samples.data(), static_cast<int>(samples.size()));
    EXPECT_EQ(allocations.load(), before);
    EXPECT_GT(analyzer.scala.tones[10].getSum() + analyzer.scala.tones[100].getSum(), 0.0f);
}

TEST(NoAllocationTest, TheKernelAdapterRendersEveryModeWithoutTheHeap) {
    kernel_rig::Rig rig;
    kernel_rig::pushWorkingDefaults(*rig.adapter);
    rig.allocate();
    rig.adapter->setAUMIDIOutputEventBlock(std::make_shared<const AUMIDIOutputEventBlock>(
        [](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return noErr; }));
    std::vector<float> left(48000);
    std::vector<float> right(48000);
    for (std::size_t t = 0; t < left.size(); ++t) {
        left[t] = static_cast<float>(std::sin(0.05 * static_cast<double>(t)));
        right[t] = static_cast<float>(std::sin(0.03 * static_cast<double>(t)));
    }
    AURenderEvent event = kernel_rig::parameterEvent(0, 1069, 0.7f);
    for (float processingMode : {0.0f, 4.0f}) {
        for (float operationMode : {0.0f, 1.0f, 2.0f, 3.0f}) {
            kernel_rig::set(*rig.adapter, kernel_rig::kProcessingMode, processingMode);
            kernel_rig::set(*rig.adapter, kernel_rig::kOperationMode, operationMode);
            rig.setInput(left, right);
            rig.adapter->reset(); // carried out by the first render call
            std::vector<float> outLeft(left.size());
            std::vector<float> outRight(left.size());
            const long before = allocations.load();
            for (std::size_t at = 0; at + 512 <= left.size(); at += 512) {
                AudioBufferList out = kernel_rig::Rig::stereoList(outLeft.data() + at, outRight.data() + at, 512);
                AudioTimeStamp stamp;
                stamp.mSampleTime = static_cast<double>(at);
                event.parameter.eventSampleTime = static_cast<AUEventSampleTime>(at + 100);
                rig.cursor = at;
                ASSERT_EQ(rig.adapter->render(nullptr, &stamp, 512, 0, &out, &event, rig.pull), noErr);
            }
            EXPECT_EQ(allocations.load(), before) << operationMode << " " << processingMode;
            EXPECT_NE(outLeft[40000], 0.0f);
        }
    }
}

#endif
