#include <gtest/gtest.h>

#include <vector>

#include "KernelRig.h"
#include "SignalProbe.h"

using namespace kernel_rig;
using probe::noise;

namespace {

AUAudioUnitStatus renderInto(Adapter& adapter, std::vector<float>& left, std::vector<float>& right,
                             AUAudioFrameCount frames, const AURenderPullInputBlock& pull,
                             const AURenderEvent* events = nullptr)
{
    AudioBufferList out = Rig::stereoList(left.data(), right.data(), frames);
    AudioTimeStamp stamp;
    AudioUnitRenderActionFlags flags = 0;
    return adapter.render(&flags, &stamp, frames, 0, &out, events, pull);
}

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

TEST(KernelAdapterTest, StartsWithTheStandardStereoFormatAndItsTables)
{
    Adapter adapter;
    EXPECT_EQ(adapter.inputBus()->format()->sampleRate(), 48000.0);
    EXPECT_EQ(adapter.outputBus()->format()->channelCount(), 2u);
    EXPECT_EQ(adapter.outputBus()->maximumChannelCount(), 2u);
    EXPECT_EQ(adapter.maximumFramesToRender(), 4096u);
    EXPECT_EQ(adapter.getAnalysisSize(), 4096);
    EXPECT_EQ(adapter.getFrequenciesA()[69], 440.0f);
    EXPECT_EQ(adapter.getChromaticFrequency(137), 1.0f);
    EXPECT_EQ(adapter.getParameterEx(-1), 0.0f);
    adapter.setShouldBypassEffect(true);
    EXPECT_TRUE(adapter.shouldBypassEffect());
    EXPECT_EQ(get(adapter, kBypass), 1.0f);
}

TEST(KernelAdapterTest, RefusesRenderingBeforeResourcesAndAfterTheirRelease)
{
    Rig rig;
    std::vector<float> left(64, 3.0f);
    std::vector<float> right(64, 3.0f);
    EXPECT_EQ(renderInto(*rig.adapter, left, right, 64, rig.pull), kAudioUnitErr_Uninitialized);
    rig.allocate();
    EXPECT_EQ(renderInto(*rig.adapter, left, right, 64, rig.pull), noErr);
    rig.adapter->deallocateRenderResources();
    EXPECT_EQ(renderInto(*rig.adapter, left, right, 64, rig.pull), kAudioUnitErr_Uninitialized);
    EXPECT_EQ(rig.adapter->render(nullptr, nullptr, 64, 0, nullptr, nullptr, rig.pull), kAudioUnitErr_Uninitialized);
}

TEST(KernelAdapterTest, RendersUpToTheFrameLimitAndRefusesOneMoreUntouched)
{
    Rig rig;
    rig.adapter->setMaximumFramesToRender(512);
    rig.allocate();
    rig.setInput(noise(1024, 1), noise(1024, 2));
    std::vector<float> left(1024, 7.0f);
    std::vector<float> right(1024, 7.0f);
    EXPECT_EQ(renderInto(*rig.adapter, left, right, 513, rig.pull), kAudioUnitErr_TooManyFramesToProcess);
    EXPECT_EQ(left, std::vector<float>(1024, 7.0f));
    EXPECT_EQ(renderInto(*rig.adapter, left, right, 512, rig.pull), noErr);
    EXPECT_NE(left[511], 7.0f);
    EXPECT_EQ(left[512], 7.0f);

    // A limit above the work buffers is lowered to them; the pull buffer follows
    // at the next allocation.
    rig.adapter->setMaximumFramesToRender(8192);
    EXPECT_EQ(rig.adapter->maximumFramesToRender(), 4096u);
    EXPECT_EQ(renderInto(*rig.adapter, left, right, 1024, rig.pull), kAudioUnitErr_TooManyFramesToProcess)
        << "the pull buffer still holds 512 frames";
    rig.allocate();
    std::vector<float> big(4097, 0.0f);
    std::vector<float> bigRight(4097, 0.0f);
    EXPECT_EQ(renderInto(*rig.adapter, big, bigRight, 4096, rig.pull), noErr);
    EXPECT_EQ(renderInto(*rig.adapter, big, bigRight, 4097, rig.pull), kAudioUnitErr_TooManyFramesToProcess);
}

TEST(KernelAdapterTest, AnUnbackedOutputRendersInPlaceIntoThePullBuffer)
{
    auto rig = bypassedRig(256);
    AudioBufferList out;
    out.mNumberBuffers = 3; // more buffers than the input has: the extra one stays unbacked
    out.mBuffers[0] = {1, 1024, nullptr};
    out.mBuffers[1] = {1, 1024, nullptr};
    out.mBuffers[2] = {1, 1024, nullptr};
    AudioTimeStamp stamp;
    EXPECT_EQ(rig->adapter->render(nullptr, &stamp, 256, 0, &out, nullptr, rig->pull), noErr);
    ASSERT_NE(out.mBuffers[0].mData, nullptr);
    EXPECT_EQ(out.mBuffers[2].mData, nullptr);
    const float* left = static_cast<const float*>(out.mBuffers[0].mData);
    const float* right = static_cast<const float*>(out.mBuffers[1].mData);
    EXPECT_EQ(std::vector<float>(left, left + 256), rig->inLeft);
    EXPECT_EQ(std::vector<float>(right, right + 256), rig->inRight);
}

TEST(KernelAdapterTest, WithoutAPullBlockTheBuffersAreProcessedAsTheyStand)
{
    auto rig = bypassedRig(128);
    std::vector<float> left(128);
    std::vector<float> right(128);
    ASSERT_EQ(renderInto(*rig->adapter, left, right, 128, rig->pull), noErr);
    std::vector<float> again(128, 5.0f);
    std::vector<float> againRight(128, 5.0f);
    EXPECT_EQ(renderInto(*rig->adapter, again, againRight, 128, AURenderPullInputBlock{}), noErr);
    EXPECT_EQ(again, rig->inLeft) << "the last pulled input";

    auto fresh = std::make_unique<Rig>();
    fresh->allocate();
    fresh->adapter->setBypass(true);
    EXPECT_EQ(renderInto(*fresh->adapter, again, againRight, 128, AURenderPullInputBlock{}), noErr);
    EXPECT_EQ(again, std::vector<float>(128, 0.0f)) << "a pull buffer never filled holds zeros";

    EXPECT_EQ(fresh->adapter->internalRenderBlock()(nullptr, nullptr, 128, 0, nullptr, nullptr,
                                                    AURenderPullInputBlock{}),
              kAudio_ParamError);
    AudioBufferList out = Rig::stereoList(again.data(), againRight.data(), 128);
    EXPECT_EQ(fresh->adapter->internalRenderBlock()(nullptr, nullptr, 128, 0, &out, nullptr, AURenderPullInputBlock{}),
              kAudioUnitErr_NoConnection);
}

// A pull block may answer with buffers of its own; once they are gone, a cycle
// without a pull block must not read them but its own pull buffer.
TEST(KernelAdapterTest, ACycleWithoutAPullBlockForgetsBuffersAnEarlierPullLent)
{
    auto rig = bypassedRig(64);
    auto lent = std::make_unique<std::vector<float>>(64, 0.75f);
    const AURenderPullInputBlock lending = [&](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                               std::int64_t, AudioBufferList* list) {
        for (std::uint32_t c = 0; c < list->mNumberBuffers; ++c)
            list->mBuffers[c].mData = lent->data();
        return noErr;
    };
    std::vector<float> left(64);
    std::vector<float> right(64);
    ASSERT_EQ(renderInto(*rig->adapter, left, right, 64, lending), noErr);
    EXPECT_EQ(left, *lent);
    lent.reset();

    std::vector<float> again(64, 5.0f);
    std::vector<float> againRight(64, 5.0f);
    EXPECT_EQ(renderInto(*rig->adapter, again, againRight, 64, AURenderPullInputBlock{}), noErr);
    EXPECT_EQ(again, std::vector<float>(64, 0.0f)) << "the adapter's own pull buffer, never filled";
}

TEST(KernelAdapterTest, AFailingPullReturnsItsStatusAndProcessesNothing)
{
    auto rig = bypassedRig(128);
    const AURenderPullInputBlock failing = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                              std::int64_t, AudioBufferList*) { return OSStatus{-10863}; };
    std::vector<float> left(128, 4.0f);
    std::vector<float> right(128, 4.0f);
    EXPECT_EQ(renderInto(*rig->adapter, left, right, 128, failing), -10863);
    EXPECT_EQ(left, std::vector<float>(128, 4.0f));
    AudioBufferList out = Rig::stereoList(left.data(), right.data(), 128);
    EXPECT_EQ(rig->adapter->internalRenderBlock()(nullptr, nullptr, 128, 0, &out, nullptr, failing), -10863);
    EXPECT_EQ(left, std::vector<float>(128, 4.0f));
}

TEST(KernelAdapterTest, ParameterEventsTakeEffectAtTheirSampleWithinACall)
{
    auto rig = std::make_unique<Rig>();
    pushWorkingDefaults(*rig->adapter);
    set(*rig->adapter, kMix, 0.0f); // silence for the first 4096 samples
    rig->allocate();
    rig->setInput(noise(512, 31), noise(512, 32));
    AURenderEvent bypassOn{};
    bypassOn.parameter.eventType = AURenderEventType::parameter;
    bypassOn.parameter.eventSampleTime = 100;
    bypassOn.parameter.parameterAddress = rawValue(kBypass);
    bypassOn.parameter.value = 1.0f;
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
    rig->setInput(std::vector<float>(2048, 0.5f), std::vector<float>(2048, 0.5f));
    rig->renderAll(256);
    // The input follower sees 0.5 * (0.5 + 0.5) and reaches it within 240 samples.
    EXPECT_NEAR(rig->adapter->getPeakInput(), 0.5f, 1.0f / 480.0f);
    EXPECT_GT(rig->adapter->getPeakOutput(), 0.5f);
}
