#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "Console.h"

// The host renders on its own thread while the interface sets and reads
// parameters, tables and meters, and a tree observer hears every change.
TEST(AudioUnitRaceTest, InterfaceAndRenderThreadShareTheUnit)
{
    Console::Capture capture;
    const auto unit = std::make_shared<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(
        AudioComponentDescription { 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 });
    std::atomic<int> heard { 0 };
    unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) { heard.fetch_add(1); });
    unit->allocateRenderResources();
    const AURenderBlock block = unit->renderBlock();

    std::atomic<bool> rendering { true };
    std::thread render([&] {
        std::vector<float> left(512), right(512);
        AudioBufferList output;
        output.mNumberBuffers = 2;
        output.mBuffers[0] = { 1, 512 * sizeof(float), left.data() };
        output.mBuffers[1] = { 1, 512 * sizeof(float), right.data() };
        std::int64_t position = 0;
        const AURenderPullInputBlock pull = [&](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                                AUAudioFrameCount frames, std::int64_t, AudioBufferList* input) {
            for (AUAudioFrameCount frame = 0; frame < frames; ++frame)
                for (std::uint32_t channel = 0; channel < input->mNumberBuffers; ++channel)
                    static_cast<float*>(input->mBuffers[channel].mData)[frame]
                        = std::sin(0.05f * static_cast<float>(position + frame));
            position += frames;
            return noErr;
        };
        AudioUnitRenderActionFlags flags = 0;
        AudioTimeStamp timestamp;
        for (int cycle = 0; rendering.load() || cycle < 50; ++cycle)
            block(&flags, &timestamp, cycle % 10 == 9 ? 5000 : 512, 0, &output, pull);
    });

    for (int round = 0; round < 300; ++round) {
        unit->setParameter(104, static_cast<float>(round % 4));
        unit->setParameter(103, static_cast<float>(round % 5));
        unit->setParameter(1000 + round % 128, static_cast<float>(round % 10) / 10.0f);
        unit->setParameter(107, 0.5f + static_cast<float>(round % 2) * 0.5f);
        unit->setShouldBypassEffect(round % 7 == 0);
        (void)unit->getParameter(107);
        (void)unit->getChromaticMagnitudes();
        (void)unit->getPeakOutput();
    }
    rendering.store(false);
    render.join();
    EXPECT_GT(heard.load(), 300);
}
