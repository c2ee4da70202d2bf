#include "../support/GainAudioUnit.h"
#include "EngineRig.h"

#include "AVAudioUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The graph, the player's schedule and the unit's render resources change on
// this thread while another one renders without pause.
TEST(AVAudioEngineRaceTest, GraphAndScheduleChangeWhileTheRenderThreadPulls)
{
    EngineRig rig;
    const auto file = rig.file("a.wav", { rampChannel(3000, 1e-4f) });
    rig.engine.connect(rig.player, rig.engine.mainMixerNode(), nullptr);
    rig.engine.start();
    std::atomic<bool> done { false };
    std::atomic<int> completions { 0 };
    std::thread renderer([&] {
        while (!done.load())
            rig.output->render(256);
    });

    constexpr int kRounds = 100;
    for (int round = 0; round < kRounds; ++round) {
        const auto unit = std::make_shared<AVAudioUnit>(std::make_shared<GainAudioUnit>());
        rig.engine.attach(unit);
        rig.engine.connect(rig.player, unit, nullptr);
        rig.engine.connect(unit, rig.engine.mainMixerNode(), nullptr);
        rig.player->scheduleFile(file, [&] { ++completions; });
        rig.player->play();
        rig.engine.prepare();
        if (round % 2 == 1) {
            rig.player->stop();
            rig.player->flushCompletions();
        }
        rig.engine.detach(unit);
        rig.engine.connect(rig.player, rig.engine.mainMixerNode(), nullptr);
    }
    rig.player->stop();
    done.store(true);
    renderer.join();
    rig.player->flushCompletions();
    EXPECT_EQ(completions.load(), kRounds) << "every scheduled file completes once";
}
