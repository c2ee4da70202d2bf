#include "../support/TemporaryFolder.h"

#include "AudioUnitTestSupport.h"

#include "Console.h"
#include "Bundle.h"
#include "ZUVPreset.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <numbers>
#include <memory>
#include <string>
#include <vector>

using Dictionary = PropertyListValue::Dictionary;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::StartsWith;

namespace {

using Values = std::map<AUParameterAddress, AUValue>;

Dictionary groupDictionary(const Values& values)
{
    Dictionary group { { "identifier", "kLinkedParameters" } };
    int index = 0;
    for (const auto& [address, value] : values)
        group.emplace("param " + std::to_string(index++),
            Dictionary { { "address", address }, { "identifier", "p" }, { "value", value } });
    return group;
}

Dictionary presetDictionary(const Values& values) { return { { "group 0", groupDictionary(values) } }; }

// What a preset file written from these values reads back as.
Dictionary reloadedDictionary(const Values& values)
{
    ZUVPreset preset;
    preset.makeFrom(presetDictionary(values), nullptr);
    return preset.getDictionary();
}

class AudioUnitPresetsTest : public testing::Test {
protected:
    AudioUnitPresetsTest()
        : dataHome("XDG_DATA_HOME", home.path().string())
        , unit(makeUnit())
        , presetsFolder(home.path() / Bundle::main().bundleName() / "Documents" / "Presets")
    {
    }

    void writePreset(const std::string& fileName, const Values& values)
    {
        std::filesystem::create_directories(presetsFolder);
        ZUVPreset preset;
        preset.makeFrom(presetDictionary(values), nullptr);
        preset.save(URL::fileURL(presetsFolder / fileName));
    }
    void writeText(const std::string& fileName, const std::string& text)
    {
        std::filesystem::create_directories(presetsFolder);
        std::ofstream(presetsFolder / fileName) << text;
    }
    std::vector<AUValue> values(const std::vector<AUParameterAddress>& addresses) const
    {
        std::vector<AUValue> result;
        for (const auto address : addresses)
            result.push_back(unit->getParameter(static_cast<std::int32_t>(address)));
        return result;
    }
    void set(const Values& values)
    {
        for (const auto& [address, value] : values)
            unit->parameterTree()->parameterWithAddress(address)->setValue(value);
    }
    Values allValues() const
    {
        Values values;
        for (const auto& parameter : unit->parameterTree()->allParameters())
            values[parameter->address()] = parameter->value();
        return values;
    }

    TemporaryFolder home;
    ScopedEnvironment dataHome;
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit;
    std::filesystem::path presetsFolder;
};

} // namespace

TEST_F(AudioUnitPresetsTest, WritingFullStateRestoresEveryParameterAndWritingItBackChangesNothing)
{
    set({ { 101, 0.75f }, { 1005, 0.125f }, { 4064, 0.9f } });
    const auto saved = unit->fullState();
    const Values before = allValues();

    set({ { 101, 0.5f }, { 1005, 0.5f }, { 4064, 0.0f }, { 2000, 1.0f } });
    unit->setFullState(saved);
    EXPECT_EQ(allValues(), before);

    int heard = 0;
    const auto token
        = unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) { ++heard; });
    unit->setFullState(unit->fullState());
    unit->parameterTree()->removeParameterObserver(token);
    EXPECT_EQ(allValues(), before);
    EXPECT_EQ(heard, 652);
    EXPECT_EQ(unit->currentPreset(), std::nullopt);
}

TEST_F(AudioUnitPresetsTest, AbsentOrUnsafeStateAppliesNothingUnsafe)
{
    const Values before = allValues();
    unit->setFullState(std::nullopt);
    EXPECT_EQ(allValues(), before);
    EXPECT_EQ(unit->fullState()->at("count"), PropertyListValue(6));

    Console::Capture capture;
    auto group = groupDictionary({ { 1001, 0.25f }, { 1002, 0.75f } });
    group.emplace("param 9", Dictionary { { "address", 1003 }, { "value", std::numeric_limits<double>::infinity() } });
    group.emplace("param 8", Dictionary { { "address", 1004 }, { "value", "0.1" } });
    unit->setFullState(Dictionary { { "group 0", group } });
    EXPECT_EQ(values({ 1001, 1002, 1003, 1004 }), (std::vector<AUValue> { 0.25f, 0.75f, 0.5f, 0.5f }));
    EXPECT_EQ(capture.lines().size(), 2u);
}

TEST_F(AudioUnitPresetsTest, FactoryPresetsAreTheFolderEntriesNumberedInByteOrder)
{
    Console::Capture capture;
    EXPECT_THAT(unit->factoryPresets(), IsEmpty());
    EXPECT_FALSE(unit->supportsUserPresets());
    EXPECT_THAT(capture.lines(), ElementsAre("AUExtension::supportsUserPresets: false"));

    writePreset("b.VELMORA", {});
    writeText("notes.txt", "");
    writePreset("A.velmora", {});
    const std::vector<AUAudioUnitPreset> expected { { 0, "A" }, { 1, "b" } };
    EXPECT_EQ(unit->factoryPresets(), expected);
    EXPECT_EQ(unit->factoryPresets(), expected);

    std::filesystem::remove_all(presetsFolder);
    EXPECT_THAT(unit->factoryPresets(), IsEmpty());
    std::ofstream(presetsFolder) << "not a folder";
    EXPECT_EQ(unit->factoryPresets(), expected);
    EXPECT_THAT(capture.lines(), ElementsAre("AUExtension::supportsUserPresets: false",
        StartsWith("Creating factory presets failed: ")));
}

TEST_F(AudioUnitPresetsTest, SelectingAListedOrUserPresetAppliesItsFileAndMakesItCurrent)
{
    writePreset("A.velmora", { { 1005, 0.125f }, { 101, 0.25f } });
    writePreset("b.VELMORA", { { 1006, 0.875f } });
    writeText("notes.txt", "");
    writePreset("x.velmora", { { 1010, 0.375f } });
    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets, (std::vector<AUAudioUnitPreset> { { 0, "A" }, { 1, "b" }, { 3, "x" } }));

    for (const auto& preset : { presets[0], presets[1], presets[2] }) {
        unit->setCurrentPreset(preset);
        EXPECT_EQ(unit->currentPreset(), preset);
    }
    EXPECT_EQ(values({ 1005, 101, 1006, 1010 }), (std::vector<AUValue> { 0.125f, 0.25f, 0.875f, 0.375f }));

    set({ { 1006, 0.5f } });
    unit->setCurrentPreset(AUAudioUnitPreset(-5, "b"));
    EXPECT_EQ(values({ 1006 }), std::vector<AUValue> { 0.875f });
    EXPECT_EQ(unit->currentPreset(), AUAudioUnitPreset(-5, "b"));

    Console::Capture capture;
    const Values before = allValues();
    unit->setCurrentPreset(AUAudioUnitPreset(2, "x"));
    unit->setCurrentPreset(AUAudioUnitPreset(4, "x"));
    EXPECT_THAT(capture.lines(),
        ElementsAre("AUExtension::ERROR: The preset number 2 is invalid.",
            "AUExtension::ERROR: The preset number 4 is invalid."));
    EXPECT_EQ(unit->currentPreset(), AUAudioUnitPreset(-5, "b"));
    unit->setCurrentPreset(std::nullopt);
    EXPECT_EQ(unit->currentPreset(), std::nullopt);
    EXPECT_EQ(allValues(), before);
}

TEST_F(AudioUnitPresetsTest, MissingUnreadableOrOutsideFilesChangeNothing)
{
    writePreset("A.velmora", { { 1001, 0.25f } });
    writeText("Broken.velmora", "<plist><dict>");
    writePreset("C.velmora", { { 1003, 0.25f } });
    writePreset("../Outside.velmora", { { 1004, 0.25f } });
    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets.size(), 3u);
    unit->setCurrentPreset(presets[2]);
    std::filesystem::remove(presetsFolder / "A.velmora");
    const Values before = allValues();

    Console::Capture capture;
    unit->setCurrentPreset(presets[0]);
    unit->setCurrentPreset(presets[1]);
    unit->setCurrentPreset(AUAudioUnitPreset(-1, "../Outside"));
    unit->setCurrentPreset(AUAudioUnitPreset(-2, "Missing"));
    const auto lines = capture.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "AUExtension::ERROR: The preset file 'A.velmora' does not exist.");
    EXPECT_THAT(lines[1], StartsWith("AUPresetFile::FEHLER: Die Datei konnte nicht eingelesen werden: "));
    EXPECT_EQ(lines[2], "AUExtension::ERROR: The preset file '../Outside.velmora' does not exist.");
    EXPECT_EQ(lines[3], "AUExtension::ERROR: The preset file 'Missing.velmora' does not exist.");
    EXPECT_EQ(unit->currentPreset(), presets[2]);
    EXPECT_EQ(allValues(), before);
}

TEST_F(AudioUnitPresetsTest, AnAbsurdBandValueAppliesAtItsMaximumAndTheOutputStaysFinite)
{
    // Squared per note, 1e20 overflowed and left the output not a number in
    // every operation mode but pitch shift.
    writePreset("Loud.velmora", { { 1069, 1e20f } });
    unit->setCurrentPreset(unit->factoryPresets().at(0));
    EXPECT_EQ(unit->getParameter(1069), 1.0f);
    unit->allocateRenderResources();
    for (const AUValue operationMode : { 0.0f, 1.0f, 2.0f, 3.0f }) {
        unit->setParameter(104, operationMode);
        unit->reset();
        std::int64_t position = 0;
        const auto pull = sinePull(2.0 * std::numbers::pi * 440.0 / 48000.0, position);
        StereoOutput output(512);
        std::size_t notFinite = 0;
        for (int cycle = 0; cycle < 48; ++cycle) {
            ASSERT_EQ(output.render(unit->renderBlock(), 512, pull), noErr);
            for (std::size_t i = 0; i < 512; ++i)
                notFinite += !std::isfinite(output.left[i]) + !std::isfinite(output.right[i]);
        }
        EXPECT_EQ(notFinite, 0u) << "operation mode " << operationMode;
    }
}

TEST_F(AudioUnitPresetsTest, PresetStateReadsTheFileWithoutApplyingIt)
{
    writePreset("Warm.velmora", { { 1005, 0.125f } });
    writeText("Broken.velmora", "no list");
    const auto other = makeUnit();
    other->setFullState(other->fullState());
    const Values before = allValues();

    const auto state = unit->presetState(AUAudioUnitPreset(0, "Warm"));
    EXPECT_EQ(state, reloadedDictionary({ { 1005, 0.125f } }));
    EXPECT_EQ(state.at("count"), PropertyListValue(1));
    EXPECT_EQ(allValues(), before);
    EXPECT_EQ(other->parameterTree()->parameterWithAddress(1005)->value(), 0.5f);

    Console::Capture capture;
    EXPECT_THAT(unit->presetState(AUAudioUnitPreset(1, "Gone")), IsEmpty());
    EXPECT_EQ(unit->presetState(AUAudioUnitPreset(2, "Broken")), ZUVPreset().getDictionary());
    EXPECT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0], "AUExtension::ERROR: The preset file 'Gone.velmora' does not exist.");
}
