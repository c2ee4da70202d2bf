#include "CircularBuffer.h"
#include "DynaBuffer.h"
#include "Latency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

bool aligned16(const float* p) {
    return reinterpret_cast<std::uintptr_t>(p) % 16 == 0;
}

void fill(DynaBuffer& buffer, float value) {
    for (int32_t i = 0; i < buffer.getSize(); ++i) {
        *buffer[i] = value;
    }
}

bool allEqual(DynaBuffer& buffer, float value) {
    for (int32_t i = 0; i < buffer.getSize(); ++i) {
        if (*buffer[i] != value) {
            return false;
        }
    }
    return true;
}

std::vector<float> exchange(CircularBuffer& line, std::vector<float> samples) {
    line.processBufferEx(samples.data(), static_cast<int32_t>(samples.size()));
    return samples;
}

using Floats = std::vector<float>;

struct CountingBuffer : CircularBuffer {
    int wraps = 0;
    void onBufferReady() override { ++wraps; }
};

} // namespace

TEST(DynaBufferTest, AllocatesAlignedZeroedMemoryForOddSizes) {
    for (int32_t n : {1, 3, 5, 17, 4097}) {
        DynaBuffer buffer(n);
        ASSERT_EQ(buffer.getSize(), n);
        EXPECT_TRUE(aligned16(buffer.getBuffer())) << n;
        EXPECT_TRUE(allEqual(buffer, 0.0f)) << n;
        EXPECT_EQ(buffer[2], buffer.getBuffer() + 2);
    }
    DynaBuffer empty;
    EXPECT_EQ(empty.getSize(), 0);
    EXPECT_EQ(empty.getBuffer(), nullptr);
}

TEST(DynaBufferTest, AllocateOnlyGrowsWhileReadjustFitsExactly) {
    DynaBuffer buffer(16);
    fill(buffer, 3.0f);
    EXPECT_EQ(buffer.allocate(8), buffer.getBuffer());
    EXPECT_EQ(buffer.getSize(), 16);
    EXPECT_TRUE(allEqual(buffer, 3.0f));

    buffer.ensure(32);
    EXPECT_EQ(buffer.getSize(), 32);
    EXPECT_TRUE(allEqual(buffer, 0.0f));

    fill(buffer, 2.0f);
    buffer.readjust(8);
    EXPECT_EQ(buffer.getSize(), 8);
    EXPECT_TRUE(aligned16(buffer.getBuffer()));
    EXPECT_TRUE(allEqual(buffer, 0.0f));
}

TEST(DynaBufferTest, NonPositiveRequestsEmptyTheBuffer) {
    DynaBuffer a(16);
    a.allocate(0);
    EXPECT_EQ(a.getSize(), 0);
    EXPECT_EQ(a.getBuffer(), nullptr);

    DynaBuffer b(16);
    b.readjust(-1);
    EXPECT_EQ(b.getSize(), 0);
    EXPECT_EQ(b.getBuffer(), nullptr);
    b.clear();
    b.free();
    EXPECT_EQ(b.getSize(), 0);
}

TEST(CircularBufferTest, ExchangeDelaysBySizeAndCallsBackOnEachWrap) {
    CountingBuffer line;
    line.allocate(3);
    line.reset();
    EXPECT_EQ(exchange(line, {1, 2, 3, 4, 5, 6, 7}), (Floats{0, 0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(line.wraps, 3);

    Floats recorded{9, 8};
    line.processBuffer(recorded.data(), 2);
    EXPECT_EQ(recorded, (Floats{9, 8}));
    EXPECT_EQ(exchange(line, {0, 0, 0}), (Floats{7, 9, 8}));
}

TEST(CircularBufferTest, InitialDelayPlacesTheNextWrapWithinTheBuffer) {
    CountingBuffer line;
    line.allocate(4);
    line.setInitialDelay(2);
    Floats samples{1, 2};
    line.processBuffer(samples.data(), 2);
    EXPECT_EQ(line.wraps, 0);
    line.processBuffer(samples.data(), 1);
    EXPECT_EQ(line.wraps, 1);

    line.reset();
    line.setInitialDelay(5);
    line.processBuffer(samples.data(), 1);
    EXPECT_EQ(line.wraps, 2);
}

TEST(CircularBufferTest, EmptyBufferOrNullSamplesDoNothing) {
    CircularBuffer line;
    EXPECT_EQ(exchange(line, {1, 2}), (Floats{1, 2}));
    line.allocate(2);
    line.processBufferEx(nullptr, 4);
    line.processBuffer(nullptr, 4);
    EXPECT_EQ(exchange(line, {1, 2, 3}), (Floats{0, 0, 1}));
}

TEST(LatencyTest, DelaysByTheLengthInEffectAfterReset) {
    Latency line;
    EXPECT_EQ(line.getSize(), 1024);
    line.setSize(4);
    line.reset();
    // The pass after reset wraps at once and applies the pending length.
    EXPECT_EQ(exchange(line, {1, 2, 3, 4, 5, 6}), (Floats{0, 0, 0, 0, 1, 2}));
}

TEST(LatencyTest, ShortLengthsAreRequestedAsOne) {
    Latency line;
    line.setSize(1);
    EXPECT_EQ(line.getSize(), 1);
    line.setSize(0);
    EXPECT_EQ(line.getSize(), 1);
    line.setSize(7);
    EXPECT_EQ(line.getSize(), 7);
}

TEST(LatencyTest, NewLengthWaitsForTheEndOfThePassAndPrimesItsFirstCell) {
    Latency line;
    line.setSize(4);
    line.reset();
    EXPECT_EQ(exchange(line, {1, 2, 3, 4, 5}), (Floats{0, 0, 0, 0, 1}));
    line.setSize(8);
    EXPECT_EQ(line.getSize(), 8);
    // Three samples finish the pass of 4; then the first output is the input
    // just before the wrap (8), cells 1..3 give what they held and the grown
    // part gives zeros.
    EXPECT_EQ(exchange(line, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
              (Floats{2, 3, 4, 8, 6, 7, 8, 0, 0, 0, 0}));
    // From the wrap on, 9 comes back 8 samples later.
    EXPECT_EQ(exchange(line, {17, 18, 19}), (Floats{9, 10, 11}));
}

TEST(LatencyTest, ShrinkingKeepsMemoryAndAChangeAtACallStartPrimesWithZero) {
    Latency line;
    line.setSize(4);
    line.reset();
    EXPECT_EQ(exchange(line, {1, 2, 3, 4}), (Floats{0, 0, 0, 0}));
    line.setSize(2);
    EXPECT_EQ(exchange(line, {5, 6, 7, 8}), (Floats{0, 2, 5, 6}));
    EXPECT_GE(line.DynaBuffer::getSize(), 1024);
}

TEST(LatencyTest, RecordingAppliesTheSameWrap) {
    Latency line;
    line.setSize(2);
    line.reset();
    Floats samples{1, 2, 3};
    line.processBuffer(samples.data(), 3);
    EXPECT_EQ(samples, (Floats{1, 2, 3}));
    EXPECT_EQ(exchange(line, {0, 0, 0}), (Floats{2, 3, 0}));
}
