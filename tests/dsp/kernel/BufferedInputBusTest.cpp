#include <gtest/gtest.h>

#include <cfloat>

#include "BufferedInputBus.h"
#include "MIDIOutputBlockSlot.h"
#include "ScopedDenormalFlush.h"

namespace {

BufferedInputBus stereoBus(AUAudioFrameCount frames)
{
    BufferedInputBus bus;
    bus.init(AVAudioFormat::standardFormat(48000.0, 2), 2);
    bus.allocateRenderResources(frames);
    return bus;
}

} // namespace

TEST(BufferedInputBusTest, PullsIntoItsOwnMemoryAtFullCapacityEveryTime)
{
    BufferedInputBus bus = stereoBus(256);
    EXPECT_EQ(bus.capacity(), 256u);

    float elsewhere[4] = {};
    int calls = 0;
    const AURenderPullInputBlock pull = [&](AudioUnitRenderActionFlags* flags, const AudioTimeStamp*,
                                            AUAudioFrameCount frames, std::int64_t busNumber, AudioBufferList* list) {
        ++calls;
        EXPECT_EQ(*flags, 0u);
        EXPECT_EQ(frames, 64u);
        EXPECT_EQ(busNumber, 0);
        EXPECT_EQ(list->mNumberBuffers, 2u);
        EXPECT_EQ(list->mBuffers[1].mData, bus.originalAudioBufferList->mBuffers[1].mData);
        EXPECT_EQ(list->mBuffers[1].mDataByteSize, 256u * 4u);
        static_cast<float*>(list->mBuffers[0].mData)[0] = 0.5f;
        // A host may point the list at its own memory; the next pull must undo it.
        list->mBuffers[0].mData = elsewhere;
        list->mBuffers[0].mDataByteSize = 8;
        list->mNumberBuffers = 1;
        return noErr;
    };
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp stamp;
    EXPECT_EQ(bus.pullInput(&flags, &stamp, 64, 0, pull), noErr);
    EXPECT_EQ(bus.pullInput(&flags, &stamp, 64, 0, pull), noErr);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(static_cast<const float*>(bus.originalAudioBufferList->mBuffers[0].mData)[0], 0.5f);
}

TEST(BufferedInputBusTest, ReportsMissingPullBlockAndMissingBuffer)
{
    BufferedInputBus bus = stereoBus(128);
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp stamp;
    EXPECT_EQ(bus.pullInput(&flags, &stamp, 16, 0, AURenderPullInputBlock{}), kAudioUnitErr_NoConnection);

    const AURenderPullInputBlock failing = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                              std::int64_t, AudioBufferList*) { return OSStatus{-50}; };
    EXPECT_EQ(bus.pullInput(&flags, &stamp, 16, 0, failing), -50);

    bus.deallocateRenderResources();
    EXPECT_EQ(bus.mutableAudioBufferList, nullptr);
    EXPECT_EQ(bus.capacity(), 0u);
    EXPECT_EQ(bus.maxFrames, 128u) << "the frame limit survives deallocation";
    EXPECT_EQ(bus.pullInput(&flags, &stamp, 16, 0, failing), kAudioUnitErr_Uninitialized);
}

TEST(MIDIOutputBlockSlotTest, OwnsTheLatestBlockAndNeverFreesOneOnTheRenderThread)
{
    MIDIOutputBlockSlot slot;
    EXPECT_EQ(slot.borrow(), nullptr);
    slot.release();
    auto makeBlock = [](OSStatus answer) {
        return std::make_shared<const AUMIDIOutputEventBlock>(
            [answer](AUEventSampleTime, std::uint8_t, std::int64_t, const std::uint8_t*) { return answer; });
    };
    auto answer = [&slot] {
        const OSStatus status = (*slot.borrow())(0, 0, 0, nullptr);
        slot.release();
        return status;
    };
    auto first = makeBlock(1);
    auto second = makeBlock(2);
    std::weak_ptr<const AUMIDIOutputEventBlock> watchFirst = first;
    slot.store(first);
    first.reset();
    EXPECT_EQ(answer(), 1);
    EXPECT_FALSE(watchFirst.expired()) << "the slot owns the block it holds";

    slot.storeFromRenderThread(second);
    EXPECT_EQ(answer(), 2);
    EXPECT_FALSE(watchFirst.expired()) << "the render thread must not free the block it replaced";
    // With the replaced block still parked, a further install waits for a store.
    slot.storeFromRenderThread(makeBlock(3));
    EXPECT_EQ(answer(), 2);

    slot.store(second);
    EXPECT_TRUE(watchFirst.expired());
    slot.storeFromRenderThread(makeBlock(3));
    EXPECT_EQ(answer(), 3);
    slot.store(nullptr);
    EXPECT_EQ(slot.borrow(), nullptr);
    slot.release();
}

TEST(ScopedDenormalFlushTest, SubnormalResultsBecomeZeroOnlyInsideTheScope)
{
    volatile float tiny = FLT_MIN;
    {
        ScopedDenormalFlush flush;
        EXPECT_EQ(tiny * 0.5f, 0.0f);
    }
    EXPECT_GT(tiny * 0.5f, 0.0f);
}
