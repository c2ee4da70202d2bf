#include "AudioUnitTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <set>
#include <thread>

#include "../support/TemporaryFolder.h"

#include "Bundle.h"
#include "Console.h"
#include "ZUVPreset.h"

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
        unit->setMaximumFramesToRender(round % 2 == 0 ? 4096 : 256);
        (void)unit->getChromaticMagnitudes();
        (void)unit->getPeakOutput();
    }
    rendering.store(false);
    render.join();
    EXPECT_GT(heard.load(), 300);
    EXPECT_EQ(unit->maximumFramesToRender(), 4096u) << "the limit of the allocation while it lasts";
}

// Hosts reset the unit from a thread of their own, on stop or on seek, while
// the audio thread may still be rendering.
TEST(AudioUnitRaceTest, ResetWhileTheHostRenders)
{
    Console::Capture capture;
    const auto unit = makeUnit();
    unit->allocateRenderResources();
    constexpr int kCycles = 100;
    std::atomic<int> cycles { 0 };
    std::thread render([&, block = unit->renderBlock()] {
        StereoOutput output(512);
        std::int64_t position = 0;
        const AURenderPullInputBlock pull = sinePull(0.05, position);
        for (; cycles.load() < kCycles; cycles.fetch_add(1))
            EXPECT_EQ(output.render(block, 512, pull), noErr);
    });
    while (cycles.load() == 0)
        std::this_thread::yield();
    for (int round = 0; round < 20000 && cycles.load() < kCycles; ++round)
        unit->reset();
    render.join();

    // Asked for with no render running, the reset still comes before the next
    // cycle: silence in gives silence out, the sine gone from the dry delay.
    unit->reset();
    std::int64_t position = 0;
    StereoOutput output(512);
    ASSERT_EQ(output.render(unit->renderBlock(), 512, sinePull(0.0, position)), noErr);
    EXPECT_EQ(output.left, std::vector<float>(512, 0.0f));
    EXPECT_EQ(output.right, std::vector<float>(512, 0.0f));
}

namespace {

using Bands = std::set<std::uint32_t>;

const Bands kQuarter { std::bit_cast<std::uint32_t>(0.25f) };
const Bands kThreeQuarters { std::bit_cast<std::uint32_t>(0.75f) };

// The distinct band values of a state, as bit patterns.
Bands bandsOf(const std::optional<PropertyListValue::Dictionary>& state)
{
    PresetDelegateRecorder recorder;
    ZUVPreset().makeFrom(state, &recorder);
    Bands bands;
    for (const auto& [group, identifier, address, value] : recorder.calls) {
        if (address >= 1000)
            bands.insert(value);
    }
    return bands;
}

// A unit rendering on a host thread for as long as it lives, every band at
// 0.25 (the state `quarter`), beside a user preset file "Even" with every band
// at 0.75 (the state `even`).
class StateRace {
public:
    StateRace()
        : dataHome("XDG_DATA_HOME", home.path().string())
    {
        const auto folder = home.path() / Bundle::main().bundleName() / "Documents" / "Presets";
        std::filesystem::create_directories(folder);
        for (const float value : { 0.75f, 0.25f }) {
            for (const auto& parameter : unit->parameterTree()->allParameters()) {
                if (parameter->address() >= 1000)
                    parameter->setValue(value);
            }
            (value == 0.25f ? quarter : even) = unit->fullState();
        }
        ZUVPreset preset;
        preset.makeFrom(even, nullptr);
        preset.save(URL::fileURL(folder / "Even.velmora"));
        unit->allocateRenderResources();
        render = std::thread([this, block = unit->renderBlock()] {
            StereoOutput output(512);
            std::int64_t position = 0;
            const AURenderPullInputBlock pull = sinePull(0.05, position);
            while (rendering.load())
                output.render(block, 512, pull);
        });
    }
    ~StateRace()
    {
        rendering.store(false);
        render.join();
    }

    // Runs the two calls 40 times each, at once on two threads.
    template <class First, class Second>
    void race(First first, Second second)
    {
        std::thread other([&] {
            for (int round = 0; round < 40; ++round)
                second(round);
        });
        for (int round = 0; round < 40; ++round)
            first(round);
        other.join();
    }

    TemporaryFolder home;
    ScopedEnvironment dataHome;
    const std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit = makeUnit();
    std::optional<PropertyListValue::Dictionary> quarter;
    std::optional<PropertyListValue::Dictionary> even;

private:
    std::atomic<bool> rendering { true };
    std::thread render;
};

bool whole(const Bands& bands) { return bands == kQuarter || bands == kThreeQuarters; }

} // namespace

// Hosts save and restore a unit's state from threads of their own while it
// renders. A state taken is whole, never half of one written meanwhile.
TEST(AudioUnitStateRaceTest, FullStateTakenOnTwoThreadsAtOnce)
{
    StateRace race;
    const auto take = [&](int) { EXPECT_EQ(bandsOf(race.unit->fullState()), kQuarter); };
    race.race(take, take);
}

TEST(AudioUnitStateRaceTest, FullStateTakenWhileAnotherIsWritten)
{
    StateRace race;
    race.race([&](int) { EXPECT_TRUE(whole(bandsOf(race.unit->fullState()))); },
        [&](int round) { race.unit->setFullState(round % 2 ? race.quarter : race.even); });
}

TEST(AudioUnitStateRaceTest, FullStateTakenWhileAUserPresetLoads)
{
    StateRace race;
    const AUAudioUnitPreset preset(-1, "Even");
    race.race(
        [&](int) {
            EXPECT_TRUE(whole(bandsOf(race.unit->fullState())));
            const auto current = race.unit->currentPreset();
            EXPECT_TRUE(!current || *current == preset);
        },
        [&](int round) {
            if (round % 2)
                race.unit->setFullState(race.quarter);
            else
                race.unit->setCurrentPreset(preset);
        });
    EXPECT_EQ(race.unit->currentPreset(), preset);
}
