#include "PlayerRig.h"

#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

std::vector<std::string> playerLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept),
                 [](const std::string& line) { return line.starts_with("AUEnginePlayer"); });
    return kept;
}

std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> makeEffect()
{
    return std::make_shared<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(
        AudioComponentDescription { 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 });
}

// A quarter-scale sine of 441 Hz, one second long.
std::vector<float> tone()
{
    std::vector<float> samples(48000);
    for (std::size_t index = 0; index < samples.size(); ++index)
        samples[index] = static_cast<float>(0.25 * std::sin(2.0 * std::numbers::pi * 441.0 * index / 48000.0));
    return samples;
}

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t index = from; index < to; ++index)
        sum += samples[index] * samples[index];
    return std::sqrt(sum / static_cast<double>(to - from));
}

} // namespace

// The effect delays everything it plays by its 4096-frame analysis window.
TEST(RealEffectTest, EffectsGetTheMIDIBlockPlayDelayedByTheirWindowAndAreReleasedWhenReplaced)
{
    PlayerRig rig;
    const auto sine = tone();
    writeWaveFile(rig.soundPath(1), { sine, sine });
    auto effect = makeEffect();

    const auto lines = rig.linesOf([&] { rig.player->connect(std::make_shared<AVAudioUnit>(effect)); });
    EXPECT_EQ(playerLines(lines),
              (std::vector<std::string> {
                  "AUEnginePlayer: A new audio unit will be connected.",
                  "AUEnginePlayer: The audio unit reports MIDI output names. Assigning a handling block.",
                  "AUEnginePlayer: Audio unit was attached.",
                  "AUEnginePlayer::ERROR: There was a problem with the file processing format or the file is nil "
                  "(yet).",
              }));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "AUExtension::midiOutputEventBlock (set) "), lines.end());

    rig.draws = { 1 };
    rig.player->start();
    EXPECT_TRUE(effect->renderResourcesAllocated());
    const auto played = rig.play(16384);
    EXPECT_LT(rms(played, 0, 4000), 0.01);
    EXPECT_GT(rms(played, 4096, 16384), 0.05);
    double product = 0.0;
    for (std::size_t index = 4096; index < 16384; ++index)
        product += played[index] * sine[index - 4096];
    EXPECT_GT(product / (rms(played, 4096, 16384) * rms(sine, 0, 12288) * 12288.0), 0.95);

    const std::weak_ptr<AUAudioUnit> first = effect;
    effect.reset();
    const auto second = makeEffect();
    const auto swap = playerLines(rig.linesOf([&] { rig.player->connect(std::make_shared<AVAudioUnit>(second)); }));
    EXPECT_EQ(std::vector<std::string>(swap.end() - 2, swap.end()),
              (std::vector<std::string> { "AUEnginePlayer: Audio Unit was connected to the player.",
                                          "AUEnginePlayer: Audio Unit was connected to the main mixer." }));
    EXPECT_TRUE(first.expired()) << "the player released the first effect";
    EXPECT_TRUE(second->renderResourcesAllocated());
    EXPECT_GT(rms(rig.play(8192), 4096, 8192), 0.05) << "the second effect plays after its own window";

    const auto disconnection = playerLines(rig.linesOf([&] { rig.player->disconnect(); }));
    EXPECT_EQ(std::vector<std::string>(disconnection.end() - 2, disconnection.end()),
              (std::vector<std::string> { "AUEnginePlayer: Performed audio unit disconnection.",
                                          "AUEnginePlayer: The audio unit was set to 'nil'." }));
    EXPECT_FALSE(second->renderResourcesAllocated());
}

// The effect processes two channels only: a mono sound playing when it is
// connected reaches it on both, and comes out delayed by its window.
TEST(RealEffectTest, AMonoSoundPlaysThroughTheEffect)
{
    PlayerRig rig;
    writeWaveFile(rig.soundPath(1), { tone() });
    rig.draws = { 1 };
    rig.player->start();
    const auto effect = makeEffect();
    rig.player->connect(std::make_shared<AVAudioUnit>(effect));

    const auto played = rig.play(16384);
    EXPECT_TRUE(effect->renderResourcesAllocated());
    EXPECT_LT(rms(played, 0, 4000), 0.01);
    EXPECT_GT(rms(played, 4096, 16384), 0.05);
}
