#include "CircularBuffer.h"
#include "DynaBuffer.h"
#include "Latency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Floats = std::vector<float>;

bool allEqual(DynaBuffer& buffer, float value) {
    for (int32_t i = 0; i < buffer.getSize(); ++i) {
        if (*buffer[i] != value) {
            return false;
        }
    }
    return true;
}

Floats exchange(CircularBuffer& line, Floats samples) {
    line.processBufferEx(samples.data(), static_cast<int32_t>(samples.size()));
    return samples;
}

struct CountingBuffer : CircularBuffer {
    int wraps = 0;
    void onBufferReady() override { ++wraps; }
};

struct LineOfFour : Latency {
    LineOfFour() {
        setSize(4);
        reset();  // the first sample wraps and applies the length
    }
};

} // namespace

TEST(DynaBufferTest, AlignedZeroedGrowOnlyAllocateAndExactReadjust) {
    for (int32_t n : {1, 3, 17, 4097}) {
        DynaBuffer buffer(n);
        ASSERT_EQ(buffer.getSize(), n);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.getBuffer()) % 16, 0u) << n;
        EXPECT_TRUE(allEqual(buffer, 0.0f)) << n;
    }
    DynaBuffer buffer(16);
    *buffer[15] = 3.0f;
    buffer.allocate(8);
    EXPECT_EQ(buffer.getSize(), 16);
    EXPECT_EQ(*buffer[15], 3.0f);
    buffer.ensure(32);
    EXPECT_EQ(buffer.getSize(), 32);
    EXPECT_TRUE(allEqual(buffer, 0.0f));
    *buffer[3] = 2.0f;
    buffer.readjust(8);
    EXPECT_EQ(buffer.getSize(), 8);
    EXPECT_TRUE(allEqual(buffer, 0.0f));
    buffer.readjust(-1);
    EXPECT_EQ(buffer.getBuffer(), nullptr);
    buffer.allocate(4);
    buffer.allocate(0);
    EXPECT_EQ(buffer.getSize(), 0);
}

TEST(CircularBufferTest, ExchangeDelaysBySizeAndWrapsWhereTheInitialDelaySaid) {
    CountingBuffer line;
    EXPECT_EQ(exchange(line, {1, 2}), (Floats{1, 2}));  // no memory: untouched
    line.allocate(3);
    line.reset();
    EXPECT_EQ(exchange(line, {1, 2, 3, 4, 5, 6, 7}), (Floats{0, 0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(line.wraps, 3);
    Floats recorded{9, 8};
    line.processBuffer(recorded.data(), 2);
    EXPECT_EQ(exchange(line, {0, 0, 0}), (Floats{7, 9, 8}));

    line.setInitialDelay(4);  // beyond the buffer: ignored
    line.setInitialDelay(2);
    line.processBuffer(recorded.data(), 2);
    EXPECT_EQ(line.wraps, 4);
    line.processBuffer(recorded.data(), 1);
    EXPECT_EQ(line.wraps, 5);
}

TEST(LatencyTest, DelaysByTheLengthInEffect) {
    LineOfFour line;
    EXPECT_EQ(exchange(line, {1, 2, 3, 4, 5, 6}), (Floats{0, 0, 0, 0, 1, 2}));
    line.setSize(0);
    EXPECT_EQ(line.getSize(), 1);
    Floats samples{7, 8, 9};
    line.setSize(2);
    line.processBuffer(samples.data(), 3);  // records 7, 8; wraps to length 2; records 9
    EXPECT_EQ(samples, (Floats{7, 8, 9}));
    EXPECT_EQ(exchange(line, {0, 0}), (Floats{6, 9}));  // cell 1 still holds 6
}

TEST(LatencyTest, NewLengthWaitsForTheEndOfThePassAndPrimesItsFirstCell) {
    LineOfFour line;
    EXPECT_EQ(exchange(line, {1, 2, 3, 4, 5}), (Floats{0, 0, 0, 0, 1}));
    line.setSize(8);
    EXPECT_EQ(line.getSize(), 8);
    // Three samples finish the pass of 4; then comes the input just before the
    // wrap (8), what cells 1..3 held, and zeros from the grown part.
    EXPECT_EQ(exchange(line, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
              (Floats{2, 3, 4, 8, 6, 7, 8, 0, 0, 0, 0}));
    EXPECT_EQ(exchange(line, {17, 18, 19}), (Floats{9, 10, 11}));  // 8 samples late
}

TEST(LatencyTest, ChangeAtTheStartOfACallPrimesWithZeroAndKeepsTheMemory) {
    LineOfFour line;
    EXPECT_EQ(exchange(line, {1, 2, 3, 4}), (Floats{0, 0, 0, 0}));
    line.setSize(2);
    EXPECT_EQ(exchange(line, {5, 6, 7, 8}), (Floats{0, 2, 5, 6}));
    EXPECT_EQ(line.DynaBuffer::getSize(), 1024);
}
