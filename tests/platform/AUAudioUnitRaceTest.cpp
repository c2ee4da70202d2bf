#include "AUAudioUnit.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

class BareUnit : public AUAudioUnit {
public:
    BareUnit() { initWithComponentDescription({ 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 }, {}); }

    std::shared_ptr<AUAudioUnitBusArray> inputBusses() override { return nullptr; }
    std::shared_ptr<AUAudioUnitBusArray> outputBusses() override { return nullptr; }

protected:
    AUInternalRenderBlock internalRenderBlock() override { return nullptr; }
};

} // namespace

// Hosts keep and read a unit's state and preset from threads of their own:
// each read is one of the values written, whole.
TEST(AUAudioUnitRaceTest, StateAndPresetWrittenAndReadOnTwoThreads)
{
    BareUnit unit;
    const std::string longName(64, 'x');
    std::thread writer([&] {
        for (int round = 0; round < 2000; ++round) {
            unit.setFullState(PropertyListValue::Dictionary { { "name", round % 2 ? longName : "short" } });
            unit.setCurrentPreset(AUAudioUnitPreset(round, round % 2 ? longName : "short"));
        }
    });
    for (int round = 0; round < 2000; ++round) {
        if (const auto state = unit.fullState()) {
            const PropertyListValue& name = state->at("name");
            EXPECT_TRUE(name == PropertyListValue(longName) || name == PropertyListValue("short"));
        }
        if (const auto preset = unit.currentPreset()) {
            EXPECT_EQ(preset->name(), preset->number() % 2 ? longName : "short");
        }
    }
    writer.join();
}
