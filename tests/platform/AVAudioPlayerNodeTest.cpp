#include "EngineRig.h"

#include "Console.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Completions as they run: which file, and whether on the test's thread.
struct CompletionLog {
    AVAudioPlayerNode::CompletionHandler record(std::string name)
    {
        return [this, name] {
            std::lock_guard lock(mutex);
            names.push_back(name);
            onCallerThread = onCallerThread || std::this_thread::get_id() == caller;
        };
    }
    std::vector<std::string> taken()
    {
        std::lock_guard lock(mutex);
        return std::exchange(names, {});
    }

    std::mutex mutex;
    std::vector<std::string> names;
    std::thread::id caller = std::this_thread::get_id();
    bool onCallerThread = false;
};

struct PlayerNodeTest : ::testing::Test {
    PlayerNodeTest()
    {
        rig.engine.connect(rig.player, rig.engine.mainMixerNode(), nullptr);
        rig.engine.start();
    }

    std::vector<float> renderAndSettle(AUAudioFrameCount frames)
    {
        const auto samples = rig.render(frames);
        rig.player->flushCompletions();
        return samples;
    }

    EngineRig rig;
    CompletionLog log;
};

} // namespace

TEST_F(PlayerNodeTest, PlaysFilesBackToBackAndCompletesEachWhenItsLastStretchIsRead)
{
    const auto first = rampChannel(10000, 1e-5f);
    const auto second = rampChannel(6000, -1e-5f);
    rig.player->scheduleFile(rig.file("a.wav", { first }), log.record("a"));
    rig.player->scheduleFile(rig.file("b.wav", { second }), log.record("b"));
    rig.player->play();

    const AUAudioFrameCount beforeLead = 10000 - AVAudioPlayerNode::kCompletionLeadFrames - 1;
    auto played = renderAndSettle(beforeLead);
    EXPECT_TRUE(log.taken().empty());
    played = concatenated(played, renderAndSettle(1));
    EXPECT_EQ(log.taken(), std::vector<std::string> { "a" });
    played = concatenated(played, renderAndSettle(16000 - beforeLead - 1 + 100));
    EXPECT_EQ(log.taken(), std::vector<std::string> { "b" });
    EXPECT_FALSE(log.onCallerThread);

    EXPECT_EQ(std::vector<float>(played.begin(), played.begin() + 16000), concatenated(first, second));
    EXPECT_EQ(std::vector<float>(played.begin() + 16000, played.end()), std::vector<float>(100, 0.0f));
}

TEST_F(PlayerNodeTest, StopEndsEveryScheduledFileAndPauseKeepsThePlace)
{
    const auto ramp = rampChannel(20000, 1e-5f);
    const auto file = rig.file("a.wav", { ramp });
    rig.player->scheduleFile(file, log.record("first"));
    rig.player->play();
    EXPECT_EQ(renderAndSettle(100), std::vector<float>(ramp.begin(), ramp.begin() + 100));

    rig.player->pause();
    EXPECT_EQ(renderAndSettle(50), std::vector<float>(50, 0.0f));
    rig.player->play();
    EXPECT_EQ(renderAndSettle(100), std::vector<float>(ramp.begin() + 100, ramp.begin() + 200));

    rig.player->scheduleFile(file, log.record("second"));
    rig.player->scheduleFile(file, log.record("third"));
    rig.player->stop();
    rig.player->flushCompletions();
    EXPECT_EQ(log.taken(), (std::vector<std::string> { "first", "second", "third" }));
    EXPECT_FALSE(rig.player->isPlaying());
    rig.player->play();
    EXPECT_EQ(renderAndSettle(64), std::vector<float>(64, 0.0f));
    EXPECT_TRUE(log.taken().empty());
}

TEST_F(PlayerNodeTest, AFullScheduleRefusesTheFileAndNeverCompletesIt)
{
    const auto file = rig.file("a.wav", { rampChannel(64, 1e-3f) });
    for (std::size_t index = 0; index < AVAudioPlayerNode::kScheduleCapacity; ++index)
        rig.player->scheduleFile(file, log.record("kept"));
    Console::Capture capture;
    rig.player->scheduleFile(file, log.record("refused"));
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("AVAudioPlayerNode::ERROR: Too many files are scheduled"), std::string::npos);

    rig.player->stop();
    rig.player->flushCompletions();
    EXPECT_EQ(log.taken(), std::vector<std::string>(AVAudioPlayerNode::kScheduleCapacity, "kept"));
    rig.player->scheduleFile(file, log.record("after"));
    rig.player->stop();
    rig.player->flushCompletions();
    EXPECT_EQ(log.taken(), std::vector<std::string> { "after" });
}
