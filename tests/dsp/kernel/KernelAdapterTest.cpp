#include <gtest/gtest.h>

#include <vector>

#include "KernelRig.h"
#include "SignalProbe.h"

using namespace kernel_rig;
using probe::noise;

namespace {

using Floats = std::vector<float>;

std::unique_ptr<Rig> bypassedRig(std::size_t frames)
{
    auto rig = std::make_unique<Rig>();
    pushWorkingDefaults(*rig->adapter);
    rig->adapter->setBypass(true);
    rig->allocate();
    rig->setInput(noise(frames, 21), noise(frames, 22));
    return rig;
}

} // namespace

TEST(KernelAdapterTest, RefusesRenderingBeforeResourcesAndAfterTheirRelease)
{
    Rig rig;
    Floats left(64, 3.0f);
    Floats right(64, 3.0f);
    EXPECT_EQ(rig.renderInto(left, right, 64, rig.pull), kAudioUnitErr_Uninitialized);
    rig.allocate();
    EXPECT_EQ(rig.renderInto(left, right, 64, rig.pull), noErr);
    rig.adapter->deallocateRenderResources();
    EXPECT_EQ(rig.renderInto(left, right, 64, rig.pull), kAudioUnitErr_Uninitialized);
    EXPECT_EQ(rig.adapter->render(nullptr, nullptr, 64, 0, nullptr, nullptr, rig.pull), kAudioUnitErr_Uninitialized);
}

TEST(KernelAdapterTest, RendersUpToTheFrameLimitAndRefusesOneMoreUntouched)
{
    Rig rig;
    rig.adapter->setMaximumFramesToRender(512);
    rig.allocate();
    rig.setInput(noise(1024, 1), noise(1024, 2));
    Floats left(4097, 7.0f);
    Floats right(4097, 7.0f);
    EXPECT_EQ(rig.renderInto(left, right, 513, rig.pull), kAudioUnitErr_TooManyFramesToProcess);
    EXPECT_EQ(left, Floats(4097, 7.0f));
    EXPECT_EQ(rig.renderInto(left, right, 512, rig.pull), noErr);
    EXPECT_NE(left[511], 7.0f);
    EXPECT_EQ(left[512], 7.0f);

    // The pull buffer is sized at allocation: a limit set while it exists is
    // ignored, so the limit read is the one renders keep to.
    rig.adapter->setMaximumFramesToRender(2048);
    EXPECT_EQ(rig.adapter->maximumFramesToRender(), 512u);
    EXPECT_EQ(rig.renderInto(left, right, 1024, rig.pull), kAudioUnitErr_TooManyFramesToProcess);

    // A limit above the work buffers is lowered to them.
    rig.adapter->deallocateRenderResources();
    rig.adapter->setMaximumFramesToRender(8192);
    EXPECT_EQ(rig.adapter->maximumFramesToRender(), 4096u);
    rig.allocate();
    EXPECT_EQ(rig.renderInto(left, right, 4096, rig.pull), noErr);
    EXPECT_EQ(rig.renderInto(left, right, 4097, rig.pull), kAudioUnitErr_TooManyFramesToProcess);
}

TEST(KernelAdapterTest, AnUnbackedOutputRendersInPlaceIntoThePullBuffer)
{
    auto rig = bypassedRig(256);
    AudioBufferList out;
    out.mNumberBuffers = 3; // more buffers than the input has: the extra one stays unbacked
    out.mBuffers[0] = {1, 0, nullptr};
    out.mBuffers[1] = {1, 0, nullptr};
    out.mBuffers[2] = {1, 0, nullptr};
    AudioTimeStamp stamp;
    EXPECT_EQ(rig->adapter->render(nullptr, &stamp, 256, 0, &out, nullptr, rig->pull), noErr);
    ASSERT_NE(out.mBuffers[0].mData, nullptr);
    EXPECT_EQ(out.mBuffers[0].mDataByteSize, 256u * sizeof(float));
    EXPECT_EQ(out.mBuffers[1].mDataByteSize, 256u * sizeof(float));
    EXPECT_EQ(out.mBuffers[2].mData, nullptr);
    EXPECT_EQ(out.mBuffers[2].mDataByteSize, 0u);
    const float* left = static_cast<const float*>(out.mBuffers[0].mData);
    const float* right = static_cast<const float*>(out.mBuffers[1].mData);
    EXPECT_EQ(Floats(left, left + 256), rig->inLeft);
    EXPECT_EQ(Floats(right, right + 256), rig->inRight);
}

// Dry only, a sine pulled for 20 cycles, then silence processed in place: once
// the dry delay of 4096 samples has passed, nothing of the sine is left.
TEST(KernelAdapterTest, WithoutAPullBlockTheHostsBuffersAreProcessedInPlace)
{
    auto fresh = std::make_unique<Rig>();
    pushWorkingDefaults(*fresh->adapter);
    set(*fresh->adapter, kMix, 0.0f);
    fresh->allocate();
    fresh->setInput(probe::sine(440.0, 48000.0, 20 * 512, 0.5), probe::sine(440.0, 48000.0, 20 * 512, 0.5));
    fresh->renderAll(512);
    Floats left;
    Floats right;
    for (int cycle = 0; cycle < 20; ++cycle) {
        left.assign(512, 0.0f);
        right.assign(512, 0.0f);
        ASSERT_EQ(fresh->renderInto(left, right, 512, AURenderPullInputBlock{}), noErr);
    }
    EXPECT_EQ(left, Floats(512));
    EXPECT_EQ(right, Floats(512));

    AudioBufferList unbacked = Rig::stereoList(left.data(), nullptr, 512);
    EXPECT_EQ(fresh->adapter->render(nullptr, nullptr, 512, 0, &unbacked, nullptr, AURenderPullInputBlock{}),
              kAudioUnitErr_NoConnection)
        << "no input anywhere";

    const AUInternalRenderBlock block = fresh->adapter->internalRenderBlock();
    EXPECT_EQ(block(nullptr, nullptr, 128, 0, nullptr, nullptr, AURenderPullInputBlock{}), kAudio_ParamError);
    AudioBufferList out = Rig::stereoList(left.data(), right.data(), 128);
    EXPECT_EQ(block(nullptr, nullptr, 128, 0, &out, nullptr, AURenderPullInputBlock{}), kAudioUnitErr_NoConnection);
}

// A pull block may answer with buffers of its own; once they are gone, a cycle
// without a pull block must not read them.
TEST(KernelAdapterTest, ACycleWithoutAPullBlockForgetsBuffersAnEarlierPullLent)
{
    auto rig = bypassedRig(64);
    auto lent = std::make_unique<Floats>(64, 0.75f);
    const AURenderPullInputBlock lending = [&](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                               std::int64_t, AudioBufferList* list) {
        for (std::uint32_t c = 0; c < list->mNumberBuffers; ++c)
            list->mBuffers[c].mData = lent->data();
        return noErr;
    };
    Floats left(64);
    Floats right(64);
    ASSERT_EQ(rig->renderInto(left, right, 64, lending), noErr);
    EXPECT_EQ(left, *lent);
    lent.reset();
    Floats again(64, 5.0f);
    EXPECT_EQ(rig->renderInto(again, right, 64, AURenderPullInputBlock{}), noErr);
    EXPECT_EQ(again, Floats(64, 5.0f)) << "the host's buffers as they stand";
}

TEST(KernelAdapterTest, AFailingPullReturnsItsStatusAndProcessesNothing)
{
    auto rig = bypassedRig(128);
    const AURenderPullInputBlock failing = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                              std::int64_t, AudioBufferList*) { return OSStatus{-10863}; };
    Floats left(128, 4.0f);
    Floats right(128, 4.0f);
    EXPECT_EQ(rig->renderInto(left, right, 128, failing), -10863);
    AudioBufferList out = Rig::stereoList(left.data(), right.data(), 128);
    EXPECT_EQ(rig->adapter->internalRenderBlock()(nullptr, nullptr, 128, 0, &out, nullptr, failing), -10863);
    EXPECT_EQ(left, Floats(128, 4.0f));
}

TEST(KernelAdapterTest, ParameterEventsTakeEffectAtTheirSampleWithinACall)
{
    auto rig = std::make_unique<Rig>();
    pushWorkingDefaults(*rig->adapter);
    set(*rig->adapter, kMix, 0.0f); // silence for the first 4096 samples
    rig->allocate();
    rig->setInput(noise(512, 31), noise(512, 32));
    const AURenderEvent bypassOn = parameterEvent(100, rawValue(kBypass), 1.0f);
    const auto [left, right] = rig->renderAll(512, &bypassOn);
    for (std::size_t t = 0; t < 100; ++t)
        ASSERT_EQ(left[t], 0.0f) << t;
    for (std::size_t t = 100; t < 512; ++t)
        ASSERT_EQ(left[t], rig->inLeft[t]) << t;
    EXPECT_EQ(get(*rig->adapter, kBypass), 1.0f);
}

TEST(KernelAdapterTest, MetersFollowTheCompander)
{
    auto rig = std::make_unique<Rig>();
    pushWorkingDefaults(*rig->adapter);
    set(*rig->adapter, kOperationMode, 5.0f);
    rig->allocate();
    rig->setInput(Floats(2048, 0.5f), Floats(2048, 0.5f));
    rig->renderAll(256);
    // The input follower sees 0.5 * (0.5 + 0.5) and reaches it within 240 samples.
    EXPECT_NEAR(rig->adapter->getPeakInput(), 0.5f, 1.0f / 480.0f);
    EXPECT_GT(rig->adapter->getPeakOutput(), 0.5f);
}
