// Counts heap allocations to show that running frames never allocates once an
// engine is set up. Replacing the global allocator clashes with the
// sanitizers' own, so the check exists only in the plain build.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include "Analyzer.h"

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

void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

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

#endif
