#include "../support/GainAudioUnit.h"
#include "EngineRig.h"

#include "AVAudioUnit.h"
#include "AudioEngineConstants.h"
#include "AVError.h"
#include "Console.h"
#include "NullAudioOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

std::shared_ptr<AVAudioFormat> format(double rate, AVAudioChannelCount channels)
{
    return AVAudioFormat::standardFormat(rate, channels);
}

bool sameFormat(const std::shared_ptr<AVAudioFormat>& a, const std::shared_ptr<AVAudioFormat>& b)
{
    return a && b && a->sampleRate() == b->sampleRate() && a->channelCount() == b->channelCount();
}

} // namespace

TEST(AVAudioEngineTest, ConnectionsCarryTheGivenFormatOrTheSourcesAndFeedOneInputEach)
{
    EngineRig rig;
    const auto mixer = rig.engine.mainMixerNode();
    EXPECT_EQ(rig.engine.inputConnectionSource(*rig.engine.outputNode(), 0), mixer);

    rig.engine.connect(rig.player, mixer, format(48000, 1));
    EXPECT_TRUE(sameFormat(rig.player->outputFormat(0), format(48000, 1)));
    EXPECT_TRUE(sameFormat(mixer->inputFormat(0), format(48000, 1)));

    const auto unit = std::make_shared<AVAudioUnit>(std::make_shared<GainAudioUnit>());
    rig.engine.attach(unit);
    rig.engine.connect(rig.player, unit, nullptr);
    EXPECT_TRUE(sameFormat(unit->inputFormat(0), format(48000, 1)));
    EXPECT_EQ(rig.engine.inputConnectionSource(*unit, 0), rig.player);
    EXPECT_EQ(rig.engine.inputConnectionSource(*mixer, 0), nullptr) << "the player's output moved to the unit";

    rig.engine.connect(unit, mixer, nullptr);
    rig.engine.detach(unit);
    EXPECT_FALSE(rig.engine.isAttached(*unit));
    EXPECT_EQ(rig.engine.inputConnectionSource(*mixer, 0), nullptr);
}

TEST(AVAudioEngineTest, RefusedConnectionsAreReportedAndNotMade)
{
    EngineRig rig;
    const auto mixer = rig.engine.mainMixerNode();
    const auto unit = std::make_shared<AVAudioUnit>(std::make_shared<GainAudioUnit>());
    const auto stranger = std::make_shared<AVAudioPlayerNode>();
    rig.engine.attach(unit);
    rig.engine.connect(unit, mixer, nullptr);

    Console::Capture capture;
    rig.engine.connect(mixer, unit, nullptr);
    rig.engine.connect(rig.player, mixer, format(44100, 2));
    rig.engine.connect(stranger, mixer, nullptr);
    rig.engine.connect(rig.player, unit, format(48000, 3));
    EXPECT_EQ(capture.lines(),
              (std::vector<std::string> {
                  "AVAudioEngine::ERROR: The connection would make a loop.",
                  "AVAudioEngine::ERROR: A connection must carry the engine's rate of 48000 Hz, not 44100.000000 Hz.",
                  "AVAudioEngine::ERROR: Only nodes attached to the engine can be connected.",
                  "AVAudioEngine::ERROR: A node refused the format of 3 channels.",
              }));
    EXPECT_EQ(rig.engine.inputConnectionSource(*unit, 0), nullptr);
    EXPECT_EQ(rig.engine.inputConnectionSource(*mixer, 0), unit);
}

TEST(AVAudioEngineTest, MixerSumsItsInputsAndSpreadsAMonoInputOverBothChannels)
{
    EngineRig rig;
    const auto other = std::make_shared<AVAudioPlayerNode>();
    rig.engine.attach(other);
    const auto mono = rampChannel(300, 1e-3f);
    const auto left = rampChannel(300, 1e-4f);
    const auto right = rampChannel(300, -1e-4f);
    const auto monoFile = rig.file("mono.wav", { mono });
    const auto stereoFile = rig.file("stereo.wav", { left, right });
    rig.engine.connect(rig.player, rig.engine.mainMixerNode(), monoFile.processingFormat());
    rig.engine.connect(other, rig.engine.mainMixerNode(), stereoFile.processingFormat());
    rig.player->scheduleFile(monoFile, nullptr);
    other->scheduleFile(stereoFile, nullptr);
    rig.player->play();
    other->play();
    rig.engine.start();

    const auto played = rig.output->render(300);
    for (std::size_t frame = 0; frame < 300; frame += 37) {
        EXPECT_FLOAT_EQ(played[0][frame], mono[frame] + left[frame]);
        EXPECT_FLOAT_EQ(played[1][frame], mono[frame] + right[frame]);
    }
}

// A unit's frame limit changes only while it has no render resources.
TEST(AVAudioEngineTest, AUnitAlreadyAllocatedForFewerFramesIsPreparedAgainForTheEnginesSlice)
{
    EngineRig rig;
    const auto gain = std::make_shared<GainAudioUnit>();
    gain->setMaximumFramesToRender(64);
    gain->allocateRenderResources();
    const auto unit = std::make_shared<AVAudioUnit>(gain);
    rig.engine.attach(unit);
    rig.engine.connect(rig.player, unit, nullptr);
    rig.engine.connect(unit, rig.engine.mainMixerNode(), nullptr);
    rig.engine.prepare();
    EXPECT_EQ(gain->maximumFramesToRender(), kAudioEngineFramesPerSlice);
}

TEST(AVAudioEngineTest, AudioUnitIsAllocatedBeforeItsFirstRenderAndPassesItsInputThrough)
{
    EngineRig rig;
    const auto gain = std::make_shared<GainAudioUnit>();
    gain->setMaximumFramesToRender(64);
    const auto unit = std::make_shared<AVAudioUnit>(gain);
    rig.engine.attach(unit);
    const auto file = rig.file("a.wav", { rampChannel(2000, 1e-4f) });
    rig.engine.connect(rig.player, unit, nullptr);
    rig.engine.connect(unit, rig.engine.mainMixerNode(), nullptr);
    EXPECT_EQ(gain->allocations, 0);

    rig.engine.prepare();
    EXPECT_EQ(gain->allocations, 1);
    EXPECT_GE(gain->maximumFramesToRender(), kAudioEngineFramesPerSlice);
    rig.player->scheduleFile(file, nullptr);
    rig.player->play();
    rig.engine.start();
    EXPECT_EQ(gain->allocations, 1);
    const auto played = rig.render(2000);
    for (std::size_t frame = 0; frame < 2000; frame += 111)
        EXPECT_FLOAT_EQ(played[frame], GainAudioUnit::kGain * 1e-4f * static_cast<float>(frame + 1));

    rig.engine.connect(rig.player, unit, format(48000, 1));
    EXPECT_EQ(gain->allocations, 2) << "a new format needs new render resources";
    rig.engine.detach(unit);
    EXPECT_EQ(gain->deallocations, 2);
    EXPECT_FALSE(gain->renderResourcesAllocated());
}

TEST(AVAudioEngineTest, StartFailsWithTheDevicesErrorAndRendersNothingWhileStopped)
{
    EngineRig rig;
    rig.player->scheduleFile(rig.file("a.wav", { rampChannel(100, 1e-2f) }), nullptr);
    rig.engine.connect(rig.player, rig.engine.mainMixerNode(), nullptr);
    rig.player->play();
    rig.output->failNextStart("no device today");
    try {
        rig.engine.start();
        FAIL() << "the start did not fail";
    } catch (const AVError& error) {
        EXPECT_EQ(error.localizedDescription(), "no device today");
    }
    EXPECT_FALSE(rig.engine.isRunning());
    EXPECT_EQ(rig.render(100), std::vector<float>(100, 0.0f));

    rig.engine.start();
    EXPECT_TRUE(rig.engine.isRunning());
    EXPECT_FLOAT_EQ(rig.render(1)[0], 1e-2f);
}

TEST(AVAudioEngineTest, WithoutSoundHardwareTheEngineStillRuns)
{
    AVAudioEngine engine;
    engine.mainMixerNode();
    Console::Capture capture;
    engine.start();
    EXPECT_TRUE(engine.isRunning());
    engine.stop();
    EXPECT_FALSE(engine.isRunning());
}

TEST(NullAudioOutputTest, PullsAtRealTimePace)
{
    NullAudioOutput output;
    std::mutex mutex;
    std::condition_variable rendered;
    AUAudioFrameCount frames = 0;
    const auto begin = std::chrono::steady_clock::now();
    output.start([&](AUAudioFrameCount count, AudioBufferList& list) {
        EXPECT_EQ(list.mNumberBuffers, 2u);
        std::lock_guard lock(mutex);
        frames += count;
        rendered.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(rendered.wait_for(lock, std::chrono::seconds(10), [&] { return frames >= 4 * 512; }));
    }
    output.stop();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_LE(frames, 48000.0 * elapsed + 2 * 512) << "the output ran ahead of real time";
}
