#include "AudioUnitTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "Console.h"

// The host renders on its own thread while the interface sets and reads
// parameters and meters, and a tree observer hears every change.
TEST(AudioUnitRaceTest, InterfaceAndRenderThreadShareTheUnit)
{
    Console::Capture capture;
    const auto unit = makeUnit();
    std::atomic<int> heard { 0 };
    unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) { heard.fetch_add(1); });
    unit->allocateRenderResources();
    const AURenderBlock block = unit->renderBlock();

    std::atomic<bool> rendering { true };
    std::thread render([&] {
        StereoOutput output(512);
        std::int64_t position = 0;
        const AURenderPullInputBlock pull = sinePull(0.05, position);
        for (int cycle = 0; rendering.load() || cycle < 50; ++cycle)
            output.render(block, cycle % 10 == 9 ? 5000 : 512, pull);
    });

    for (int round = 0; round < 300; ++round) {
        unit->setParameter(104, static_cast<float>(round % 4));
        unit->setParameter(103, static_cast<float>(round % 5));
        unit->setParameter(1000 + round % 128, static_cast<float>(round % 10) / 10.0f);
        unit->setParameter(107, 0.5f + static_cast<float>(round % 2) * 0.5f);
        unit->setShouldBypassEffect(round % 7 == 0);
        (void)unit->getChromaticMagnitudes();
        (void)unit->getPeakOutput();
    }
    rendering.store(false);
    render.join();
    EXPECT_GT(heard.load(), 300);
}
