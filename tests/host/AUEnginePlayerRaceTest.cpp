#include "PlayerRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The effect arrives on the instantiation's completion thread while the main
// thread starts and stops, and a device thread renders all along.
TEST(AUEnginePlayerRaceTest, ConnectRacesStartAndStop)
{
    PlayerRig rig;
    const auto ramp = rig.addSound(1, 8000);
    constexpr int kToggles = 40;
    rig.draws = std::deque<std::int64_t>(kToggles + 1, 1);
    std::atomic<bool> done { false };
    std::thread device([&] {
        while (!done.load())
            rig.output->render(256);
    });
    std::thread completion([&] {
        for (int round = 0; round < kToggles; ++round)
            rig.player->connect(round % 3 == 2 ? nullptr : rig.gainUnit());
    });
    for (int round = 0; round < kToggles; ++round) {
        rig.player->toggle();
        rig.settle();
    }
    completion.join();
    done.store(true);
    device.join();

    rig.player->connect(rig.gainUnit());
    if (!rig.player->player()->isPlaying())
        rig.player->toggle();
    rig.settle();
    const auto played = rig.play(512);
    for (std::size_t index = 0; index < played.size(); ++index)
        ASSERT_EQ(played[index], GainAudioUnit::kGain * ramp[index]) << "player, effect and mixer wired at " << index;
}
