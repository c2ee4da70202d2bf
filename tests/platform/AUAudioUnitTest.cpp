#include "AUAudioUnit.h"
#include "AudioUnitError.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr AudioComponentDescription kEffect { 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 };

// The least a unit must provide; it records what the base asks of it.
class RecordingUnit : public AUAudioUnit {
public:
    explicit RecordingUnit(const AudioComponentDescription& description)
    {
        initWithComponentDescription(description, {});
    }

    std::shared_ptr<AUAudioUnitBusArray> inputBusses() override { return nullptr; }
    std::shared_ptr<AUAudioUnitBusArray> outputBusses() override { return nullptr; }

    std::vector<std::string> calls;
    AUAudioUnitStatus status = noErr;
    bool failAllocation = false;
    bool withoutRenderBlock = false;

protected:
    void internalAllocateRenderResources() override
    {
        calls.push_back("allocate");
        if (failAllocation)
            throw AudioUnitError(-1, "refused");
    }
    void internalDeallocateRenderResources() override { calls.push_back("deallocate"); }
    AUInternalRenderBlock internalRenderBlock() override
    {
        calls.push_back("internalRenderBlock");
        if (withoutRenderBlock)
            return nullptr;
        return [this, status = status](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount frames,
                                       std::int64_t, AudioBufferList*, const AURenderEvent* events,
                                       const AURenderPullInputBlock& pull) {
            calls.push_back("render " + std::to_string(frames) + (events ? " events" : "") + (pull ? " pull" : ""));
            return status;
        };
    }
};

AUAudioUnitStatus render(const AURenderBlock& block, AUAudioFrameCount frames,
                         const AURenderPullInputBlock& pull = nullptr)
{
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp timestamp;
    AudioBufferList output;
    return block(&flags, &timestamp, frames, 0, &output, pull);
}

} // namespace

TEST(AUAudioUnitTest, InitialisationRefusesADescriptionWithoutAComponent)
{
    for (auto clear : { &AudioComponentDescription::componentType, &AudioComponentDescription::componentSubType,
                        &AudioComponentDescription::componentManufacturer }) {
        AudioComponentDescription description = kEffect;
        description.*clear = 0;
        try {
            RecordingUnit unit(description);
            FAIL() << "a description without a component was accepted";
        } catch (const AudioUnitError& error) {
            EXPECT_EQ(error.code(), kAudioUnitErr_FailedInitialization);
        }
    }
    EXPECT_EQ(RecordingUnit(kEffect).componentDescription(), kEffect);
}

TEST(AUAudioUnitTest, RendersOnlyWhileAllocatedThroughTheBlockTakenAtAllocation)
{
    RecordingUnit unit(kEffect);
    const AURenderBlock block = unit.renderBlock();
    EXPECT_EQ(render(block, 64), kAudioUnitErr_Uninitialized);
    EXPECT_TRUE(unit.calls.empty());

    unit.status = 7;
    unit.allocateRenderResources();
    EXPECT_TRUE(unit.renderResourcesAllocated());
    unit.status = 9;
    const AURenderPullInputBlock pull = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                                           std::int64_t, AudioBufferList*) { return noErr; };
    EXPECT_EQ(render(block, 64), 7);
    EXPECT_EQ(render(unit.renderBlock(), 32, pull), 7);

    unit.deallocateRenderResources();
    EXPECT_FALSE(unit.renderResourcesAllocated());
    EXPECT_EQ(render(block, 16), kAudioUnitErr_Uninitialized);
    EXPECT_EQ(
        unit.calls,
        (std::vector<std::string> { "allocate", "internalRenderBlock", "render 64", "render 32 pull", "deallocate" }));
}

TEST(AUAudioUnitTest, FailedAllocationLeavesTheUnitUnallocated)
{
    RecordingUnit unit(kEffect);
    unit.allocateRenderResources();
    unit.failAllocation = true;
    EXPECT_THROW(unit.allocateRenderResources(), AudioUnitError);
    EXPECT_FALSE(unit.renderResourcesAllocated());
    EXPECT_EQ(render(unit.renderBlock(), 8), kAudioUnitErr_Uninitialized);

    unit.failAllocation = false;
    unit.withoutRenderBlock = true;
    EXPECT_THROW(unit.allocateRenderResources(), AudioUnitError);
    EXPECT_FALSE(unit.renderResourcesAllocated());
}

TEST(AUAudioUnitTest, RenderBlockOutlivesItsUnit)
{
    AURenderBlock block;
    {
        RecordingUnit unit(kEffect);
        block = unit.renderBlock();
    }
    EXPECT_EQ(render(block, 8), kAudioUnitErr_Uninitialized);
}

TEST(AUAudioUnitTest, FrameLimitAgreesWithTheKernelsUntilAHostSetsOne)
{
    RecordingUnit unit(kEffect);
    EXPECT_EQ(unit.maximumFramesToRender(), 4096u);
    unit.setMaximumFramesToRender(512);
    EXPECT_EQ(unit.maximumFramesToRender(), 512u);
    unit.allocateRenderResources();
    unit.setMaximumFramesToRender(1024);
    EXPECT_EQ(unit.maximumFramesToRender(), 512u) << "ignored while render resources are allocated";
    unit.deallocateRenderResources();
    unit.setMaximumFramesToRender(1024);
    EXPECT_EQ(unit.maximumFramesToRender(), 1024u);
}
