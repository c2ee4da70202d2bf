#include "PlayerRig.h"

#include "../platform/EngineRig.h"
#include "../support/PipeTrap.h"
#include "../support/SilentFlacFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>

namespace {

using Lines = std::vector<std::string>;

std::vector<float> times(std::vector<float> samples, float factor, std::size_t from = 0, std::size_t count = 0)
{
    samples = { samples.begin() + static_cast<std::ptrdiff_t>(from),
                samples.begin() + static_cast<std::ptrdiff_t>(count ? from + count : samples.size()) };
    for (float& sample : samples)
        sample *= factor;
    return samples;
}

const Lines kRewiredToTheUnit {
    "AUEnginePlayer: Player was (temporarily) disconnecting from the main mixer.",
    "AUEnginePlayer: Audio unit was (temporarily) disconnecting from the player.",
    "2",
    "AUEnginePlayer: Audio unit re-connecting to the player.",
    "AUEnginePlayer: Audio unit re-connectingto the main mixer.",
};

Lines startLines(const PlayerRig& rig, int number, const Lines& wiring)
{
    const std::string path = rig.soundPath(number);
    Lines lines { "AUEnginePlayer: Audio file at '" + path + "' was selected for loading into the player." };
    lines.insert(lines.end(), wiring.begin(), wiring.end());
    lines.insert(lines.end(), { path, "AUEnginePlayer: Audio session was set active.",
                                "AUEnginePlayer: Audio engine starting." });
    return lines;
}

} // namespace

TEST(AUEnginePlayerTest, EffectConnectedBeforeAnyFileIsWiredByTheFirstStartAndAudioPassesThrough)
{
    PlayerRig rig;
    const auto ramp = rig.addSound(3, 5000);
    const auto unit = rig.gainUnit();
    EXPECT_EQ(rig.linesOf([&] { rig.player->connect(unit); }),
              (Lines { "AUEnginePlayer: A new audio unit will be connected.",
                       "AUEnginePlayer: Audio unit was attached.",
                       "AUEnginePlayer::ERROR: There was a problem with the file processing format or the file is nil "
                       "(yet)." }));
    auto& engine = rig.player->engine();
    EXPECT_TRUE(engine.isAttached(*unit));
    EXPECT_EQ(engine.inputConnectionSource(*unit, 0), nullptr);
    EXPECT_EQ(engine.inputConnectionSource(*engine.mainMixerNode(), 0), nullptr);

    rig.draws = { 3 };
    bool playing = false;
    EXPECT_EQ(rig.linesOf([&] { playing = rig.player->toggle(); }), startLines(rig, 3, kRewiredToTheUnit));
    EXPECT_TRUE(playing);
    EXPECT_EQ(engine.inputConnectionSource(*unit, 0), rig.player->player());
    EXPECT_EQ(engine.inputConnectionSource(*engine.mainMixerNode(), 0), unit);
    EXPECT_EQ(rig.delegate->calls, (Lines { "file " + rig.soundPath(3), "state 1" }));
    EXPECT_EQ(rig.play(1000), times(ramp, GainAudioUnit::kGain, 0, 1000));
}

TEST(AUEnginePlayerTest, ConnectingWhilePlayingSwapsEffectsAndConnectingNoneWiresThePlayerToTheMixer)
{
    PlayerRig rig;
    const auto ramp = rig.addSound(5, 20000);
    auto firstUnit = rig.gainUnit();
    const std::weak_ptr<AVAudioUnit> first = firstUnit;
    rig.player->connect(std::move(firstUnit));
    rig.draws = { 5 };
    rig.player->start();
    rig.settle();
    EXPECT_EQ(rig.play(1000), times(ramp, GainAudioUnit::kGain, 0, 1000));

    const auto second = rig.gainUnit();
    bool completed = false;
    EXPECT_EQ(rig.linesOf([&] { rig.player->connect(second, [&] { completed = true; }); }),
              (Lines { "AUEnginePlayer: A new audio unit will be connected.",
                       "AUEnginePlayer: Audio unit was disconnecting and detaching.",
                       "AUEnginePlayer: Audio unit was attached.",
                       "AUEnginePlayer: Audio Unit was connected to the player.",
                       "AUEnginePlayer: Audio Unit was connected to the main mixer." }));
    EXPECT_TRUE(completed);
    EXPECT_TRUE(first.expired()) << "the player released the effect it detached";
    EXPECT_TRUE(rig.player->player()->isPlaying());
    EXPECT_EQ(rig.play(1000), times(ramp, GainAudioUnit::kGain, 1000, 1000));

    EXPECT_EQ(rig.linesOf([&] { rig.player->disconnect(); }),
              (Lines { "AUEnginePlayer::WARNING: Function connect() with argument 'nil' causes disconnection.",
                       "AUEnginePlayer: Audio unit was disconnecting and detaching.",
                       "AUEnginePlayer: Performed audio unit disconnection.",
                       "AUEnginePlayer: The audio unit was set to 'nil'." }));
    EXPECT_FALSE(rig.player->engine().isAttached(*second));
    EXPECT_EQ(rig.play(1000), times(ramp, 1.0f, 2000, 1000));
}

TEST(AUEnginePlayerTest, FileEndsLoopWithoutAGapUntilStopAndEachStartCountsAfresh)
{
    PlayerRig rig;
    const auto ramp = rig.addSound(7, 6000);
    rig.draws = { 7, 7 };
    rig.player->start();
    rig.settle();
    rig.delegate->calls.clear();

    const std::string looped = "AUEnginePlayer: Current audio file '" + rig.soundPath(7) + "' looped: ";
    std::vector<float> played;
    EXPECT_EQ(rig.linesOf([&] { played = rig.play(9000); }), (Lines { looped + "1.", looped + "2." }));
    EXPECT_EQ(played, concatenated(ramp, times(ramp, 1.0f, 0, 3000)));

    EXPECT_EQ(rig.linesOf([&] { rig.player->stop(); }),
              (Lines { "AUEnginePlayer: Audio session was set active.", "AUEnginePlayer: Audio engine stopping." }));
    EXPECT_TRUE(rig.linesOf([&] { rig.play(6000); }).empty()) << "a stopped player neither loops nor reschedules";

    EXPECT_TRUE(rig.toggle());
    EXPECT_EQ(rig.linesOf([&] { rig.play(2000); }), (Lines { looped + "1." }));
    EXPECT_EQ(rig.delegate->calls, (Lines { "loop 0", "loop 1", "state 0", "file " + rig.soundPath(7), "state 1",
                                            "loop 0" }));
}

TEST(AUEnginePlayerTest, StartWhilePlayingSwitchesFilesAndALoopWithoutAFileURLNamesNoPath)
{
    PlayerRig rig;
    rig.addSound(2, 20000);
    const auto next = rig.addSound(8, 6000);
    rig.player->connect(rig.gainUnit());
    rig.draws = { 2, 8, 11 };
    rig.player->start();
    rig.play(1000);

    Lines expected { "AUEnginePlayer: Audio file at '" + rig.soundPath(8)
                     + "' was selected for loading into the player." };
    expected.insert(expected.end(), kRewiredToTheUnit.begin(), kRewiredToTheUnit.end());
    expected.push_back(rig.soundPath(8));
    expected.push_back("AUEnginePlayer: Current audio file '" + rig.soundPath(8) + "' looped: 1.");
    EXPECT_EQ(rig.linesOf([&] { rig.player->start(); }), expected)
        << "the stopped player node ends the old file; its loop goes on with the new one";
    EXPECT_EQ(rig.play(1000), times(next, GainAudioUnit::kGain, 0, 1000));

    EXPECT_EQ(rig.linesOf([&] {
        rig.player->start();
        rig.play(1000);
    }),
              (Lines { "AUEnginePlayer::ERROR: The audio file '11.m4a' was not found inside the resource folder for "
                       "the app.",
                       "AUEnginePlayer: Current audio file '' looped: 2." }));
}

TEST(AUEnginePlayerTest, StartThatCannotStartTheEngineKeepsThePlayerStopped)
{
    PlayerRig rig;
    rig.addSound(1, 1000);
    rig.draws = { 1, 1 };
    rig.output->failNextStart("the device is gone");
    bool playing = true;
    const auto lines = rig.linesOf([&] { playing = rig.player->toggle(); });
    EXPECT_FALSE(playing);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines { rig.soundPath(1), "AUEnginePlayer: Audio session was set active.",
                       "AUEnginePlayer::ERROR: Could not start audio engine. error: the device is gone." }));
    EXPECT_FALSE(rig.player->player()->isPlaying());
    EXPECT_EQ(rig.delegate->calls, (Lines { "file " + rig.soundPath(1) }));

    EXPECT_TRUE(rig.player->toggle());
}

TEST(AUEnginePlayerTest, SessionFailuresAreReportedAndPlaybackGoesOn)
{
    PlayerRig rig;
    rig.addSound(1, 1000);
    rig.draws = { 1, 1 };
    AVAudioSession::sharedInstance().setActive(false, 0);
    AVAudioSession::sharedInstance().failCategoryRequests("category refused");
    const auto started = rig.linesOf([&] { EXPECT_TRUE(rig.player->toggle()); });
    EXPECT_EQ(Lines(started.end() - 2, started.end()),
              (Lines { "AUEnginePlayer::ERROR: Could not set audio session active true. system error: category "
                       "refused.",
                       "AUEnginePlayer: Audio engine starting." }));
    EXPECT_FALSE(AVAudioSession::sharedInstance().isActive()) << "activation is not tried after a failed category";

    AVAudioSession::sharedInstance().failCategoryRequests(std::nullopt);
    AVAudioSession::sharedInstance().failActivationRequests("busy");
    EXPECT_EQ(rig.linesOf([&] { EXPECT_FALSE(rig.player->toggle()); }),
              (Lines { "AUEnginePlayer::ERROR: Could not set audio session active false. system error: busy.",
                       "AUEnginePlayer: Audio engine stopping." }));
    AVAudioSession::sharedInstance().failActivationRequests(std::nullopt);
    EXPECT_TRUE(rig.toggle());
    EXPECT_TRUE(AVAudioSession::sharedInstance().isActive());
    EXPECT_EQ(AVAudioSession::sharedInstance().category(), AVAudioSessionCategoryPlayback);
    EXPECT_EQ(AVAudioSession::sharedInstance().mode(), AVAudioSessionModeDefault);
}

TEST(AUEnginePlayerTest, MissingOrBrokenSoundsAreReportedOnlyAnEarlierSoundPlaysAndTheDrawCoversOneToEighty)
{
    PlayerRig rig;
    std::ofstream(rig.soundPath(40)) << "not a sound";
    rig.draws = { 9, 40, 1, 40, 80 };

    EXPECT_EQ(rig.linesOf([&] { EXPECT_FALSE(rig.player->toggle()); }),
              (Lines { "AUEnginePlayer::ERROR: The audio file '9.m4a' was not found inside the resource folder for "
                       "the app." }));
    const auto alone = rig.linesOf([&] { EXPECT_FALSE(rig.player->toggle()); });
    EXPECT_FALSE(rig.player->engine().isRunning());
    EXPECT_TRUE(rig.delegate->calls.empty()) << "without a sound nothing starts";

    const auto first = rig.addSound(1, 3000);
    rig.addSound(80, 3000);
    rig.toggle();
    rig.toggle();
    const auto broken = rig.linesOf([&] { rig.player->toggle(); });
    const std::string url = URL::fileURL(rig.soundPath(40)).absoluteString();
    ASSERT_EQ(broken.size(), 5u);
    EXPECT_TRUE(broken[1].starts_with("AUEnginePlayer::ERROR: Could not create AVAudioFile instance for URL 'Optional("
                                      + url + ")'. error: The audio file '" + rig.soundPath(40)
                                      + "' could not be read: "))
        << broken[1];
    EXPECT_EQ(alone, Lines(broken.begin(), broken.begin() + 3)) << "the same error; alone it starts nothing";
    EXPECT_EQ(rig.play(100), times(first, 1.0f, 0, 100)) << "the previous file plays on";

    rig.toggle();
    rig.toggle();
    EXPECT_EQ(rig.delegate->calls.back(), "state 1");
    EXPECT_NE(std::find(rig.delegate->calls.begin(), rig.delegate->calls.end(), "file " + rig.soundPath(80)),
              rig.delegate->calls.end());
    EXPECT_EQ(rig.bounds, (std::vector<std::pair<std::int64_t, std::int64_t>>(5, { 1, 80 })));
}

// A pipe would hold Play for ever and a long sound for seconds; what is not a
// number would reach the output.
TEST(AUEnginePlayerTest, PipesAndLongSoundsAreRefusedAndSamplesThatAreNotFinitePlayAsSilence)
{
    PlayerRig rig;
    const PipeTrap pipe(rig.soundPath(3));
    writeSilentFlacFile(rig.soundPath(4), 10 * 60 * 48000 + 4800, 48000);
    auto ramp = rampChannel(3000, 1e-5f);
    const auto clean = ramp;
    ramp[100] = std::numeric_limits<float>::quiet_NaN();
    ramp[200] = -std::numeric_limits<float>::infinity();
    writeWaveFile(rig.soundPath(5), { ramp, ramp });
    rig.draws = { 3, 4, 5 };

    for (const auto& [number, reason] : std::vector<std::pair<int, std::string>> {
             { 3, "The file '" + rig.soundPath(3) + "' could not be read: it is a pipe, not a regular file.." },
             { 4, "The audio file '" + rig.soundPath(4) + "' could not be read: it lasts longer than 10 minutes.." } }) {
        const auto lines = rig.linesOf([&] { rig.player->toggle(); });
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], "AUEnginePlayer::ERROR: Could not create AVAudioFile instance for URL 'Optional("
                      + URL::fileURL(rig.soundPath(number)).absoluteString() + ")'. error: " + reason);
    }
    EXPECT_FALSE(pipe.wasOpened());

    rig.toggle();
    auto expected = times(clean, 1.0f, 0, 300);
    expected[100] = expected[200] = 0.0f;
    EXPECT_EQ(rig.play(300), expected);
}

TEST(AUEnginePlayerTest, LoadWithoutAURLAndFinalizeEndPlaybackCleanly)
{
    PlayerRig rig;
    rig.addSound(1, 3000);
    rig.player->connect(rig.gainUnit());
    rig.draws = { 1 };
    rig.toggle();
    EXPECT_EQ(rig.linesOf([&] { rig.player->load(std::nullopt); }),
              (Lines { "AUEnginePlayer::ERROR: No audio file was given to load." }));

    EXPECT_EQ(rig.linesOf([&] { rig.player->finalize(); }),
              (Lines { "AUEnginePlayer: Audio session was set active.",
                       "AUEnginePlayer::WARNING: Function connect() with argument 'nil' causes disconnection.",
                       "AUEnginePlayer: Audio unit was disconnecting and detaching.",
                       "AUEnginePlayer: Performed audio unit disconnection.",
                       "AUEnginePlayer: The audio unit was set to 'nil'.",
                       "AUEnginePlayer: Audio engine stopping." }));
    EXPECT_FALSE(rig.player->engine().isRunning());
    auto& engine = rig.player->engine();
    EXPECT_EQ(engine.inputConnectionSource(*engine.mainMixerNode(), 0), rig.player->player());
}

TEST(AUEnginePlayerTest, ConnectingNoneWithNothingAttachedResetsTheLoopOnce)
{
    PlayerRig rig;
    EXPECT_EQ(rig.linesOf([&] { rig.player->connect(nullptr); }),
              (Lines { "AUEnginePlayer::WARNING: Function connect() with argument 'nil' causes disconnection.",
                       "AUEnginePlayer: ERROR: There is a problem with the audio file processing format.",
                       "AUEnginePlayer: The audio unit was set to 'nil'." }));
}
