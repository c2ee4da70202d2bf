#include "../support/DeepPropertyLists.h"
#include "../support/TemporaryFolder.h"

#include "AudioUnitTestSupport.h"

#include "Console.h"
#include "ParameterAddress.h"
#include "Bundle.h"
#include "FileManager.h"
#include "PropertyListSerialization.h"
#include "ZUVPreset.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <random>
#include <utility>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <sys/stat.h>

using Dictionary = PropertyListValue::Dictionary;
using testing::AnyOf;
using testing::ElementsAre;
using testing::HasSubstr;
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

// Seeded changes of a preset file's text, as a damaged disk or a hostile
// sender might make them: flipped bytes, a cut, values of the wrong type,
// huge or non-finite numbers, deep nesting, lost or doubled spans.
class PresetMutator {
public:
    explicit PresetMutator(std::uint32_t seed)
        : random_(seed)
    {
    }

    std::string mutated(std::string text)
    {
        for (int changes = pick(1, 3); changes > 0; --changes)
            text = changed(std::move(text));
        return text;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::size_t position(const std::string& text)
    {
        return std::uniform_int_distribution<std::size_t>(0, text.size())(random_);
    }
    template <typename T, std::size_t N> const T& oneOf(const T (&choices)[N])
    {
        return choices[static_cast<std::size_t>(pick(0, static_cast<int>(N) - 1))];
    }

    std::string changed(std::string text)
    {
        if (text.empty())
            return text;
        switch (pick(0, 5)) {
        case 0:
            for (int flips = pick(1, 4); flips > 0; --flips)
                text[position(text) % text.size()] = static_cast<char>(pick(0, 255));
            return text;
        case 1: return text.substr(0, position(text));
        case 2: return replacedValue(std::move(text), false);
        case 3: return replacedValue(std::move(text), true);
        case 4: return nested(std::move(text));
        default: {
            const std::size_t from = position(text);
            const std::size_t length = std::min<std::size_t>(pick(1, 200), text.size() - from);
            const std::string span = text.substr(from, length);
            return pick(0, 1) ? text.erase(from, length) : text.insert(from, span);
        }
        }
    }

    // The start and end of a value element: a real, integer or string.
    std::optional<std::pair<std::size_t, std::size_t>> valueElement(const std::string& text, bool numbers)
    {
        static const char* const kTags[] = { "real", "integer", "string" };
        const std::string tag = kTags[pick(0, numbers ? 1 : 2)];
        const auto start = text.find("<" + tag + ">", position(text));
        const auto end = start == std::string::npos ? start : text.find("</" + tag + ">", start);
        if (end == std::string::npos)
            return std::nullopt;
        return std::pair { start, end + tag.size() + 3 };
    }

    std::string replacedValue(std::string text, bool numbers)
    {
        static const char* const kNumbers[] = { "<real>1e20</real>", "<real>-1e20</real>", "<real>1e39</real>",
            "<real>-1e300</real>", "<real>nan</real>", "<real>inf</real>", "<real>-inf</real>", "<real>1e-45</real>",
            "<integer>9223372036854775807</integer>", "<integer>-9223372036854775808</integer>",
            "<integer>18446744073709551615</integer>", "<integer>1e5</integer>", "<real></real>" };
        static const char* const kOtherTypes[] = { "<string>0.5</string>", "<dict/>", "<array><real>1</real></array>",
            "<true/>", "<data>AAAA</data>", "<integer>-1</integer>", "<date>2024-01-01T00:00:00Z</date>",
            "<string></string>" };
        const auto element = valueElement(text, numbers);
        if (!element)
            return text;
        return text.replace(element->first, element->second - element->first,
            numbers ? oneOf(kNumbers) : oneOf(kOtherTypes));
    }

    std::string nested(std::string text)
    {
        static const std::size_t kLevels[] = { 2, 250, 260, 3000, 30000 };
        const auto element = valueElement(text, false);
        if (!element)
            return text;
        const std::size_t levels = oneOf(kLevels);
        if (pick(0, 1))
            text.insert(element->second, repeated("</array>", levels));
        return text.insert(element->first, repeated(pick(0, 1) ? "<array>" : "<dict><key>k</key>", levels));
    }

    std::mt19937 random_;
};

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
    void writeBytes(const std::string& fileName, const Data& bytes)
    {
        writeText(fileName, std::string(bytes.begin(), bytes.end()));
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

TEST_F(AudioUnitPresetsTest, PresetsNamedAlikeEachApplyTheFileTheyWereListedFrom)
{
    writePreset("A.VELMORA", { { 1005, 0.875f } });
    writePreset("A.velmora", { { 1005, 0.125f } });
    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets, (std::vector<AUAudioUnitPreset> { { 0, "A" }, { 1, "A" } }));
    unit->setCurrentPreset(presets[0]);
    EXPECT_EQ(unit->getParameter(1005), 0.875f);
    unit->setCurrentPreset(presets[1]);
    EXPECT_EQ(unit->getParameter(1005), 0.125f);
}

// A host's parameter observer runs on the thread that changes the value, and
// may ask the unit for its state there, also while a state or preset is
// being applied.
TEST_F(AudioUnitPresetsTest, ObserversCalledWhileAStateOrPresetIsAppliedMayCallTheUnitBack)
{
    writePreset("A.velmora", { { 1005, 0.125f } });
    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets.size(), 1u);
    set({ { 1005, 0.75f } });
    const auto saved = unit->fullState();

    int answered = 0;
    const auto token = unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) {
        answered += unit->fullState().has_value();
        (void)unit->currentPreset();
        answered += !unit->factoryPresets().empty();
    });
    unit->setCurrentPreset(presets[0]);
    EXPECT_EQ(values({ 1005 }), std::vector<AUValue> { 0.125f });
    unit->setCurrentPreset(AUAudioUnitPreset(-1, "A"));
    unit->setFullState(saved);
    unit->parameterTree()->removeParameterObserver(token);
    EXPECT_EQ(values({ 1005 }), std::vector<AUValue> { 0.75f });
    EXPECT_EQ(unit->currentPreset(), AUAudioUnitPreset(-1, "A"));
    EXPECT_GE(answered, 2 * 3);
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

TEST_F(AudioUnitPresetsTest, DeepEndlessOrHugeFilesAreRefusedByEveryWayInAndChangeNothing)
{
    writeText("dicts.velmora", nestedXML(12'200, true));
    writeText("arrays.velmora", nestedXML(29'100, false));
    writeBytes("binary.velmora", nestedBinary(29'100));
    writeText("open.velmora", "<plist version=\"1.0\">" + repeated("<array>", 175'000));
    std::filesystem::create_symlink("/dev/zero", presetsFolder / "zero.velmora");
    ASSERT_EQ(::mkfifo((presetsFolder / "pipe.velmora").c_str(), 0600), 0);
    writeText("huge.velmora", "");
    std::filesystem::resize_file(presetsFolder / "huge.velmora", FileManager::kMaximumContentSize + 1);
    // The preset's own records lie three levels deep; an extra entry takes it to the limit.
    auto deepest = presetDictionary({ { 1001, 0.25f } });
    PropertyListValue extra = PropertyListValue::Array {};
    for (std::size_t level = 2; level < PropertyListSerialization::kMaximumDepth; ++level)
        extra = PropertyListValue::Array { extra };
    deepest.emplace("extra", extra);
    writeBytes("limit.velmora", PropertyListSerialization::data(deepest));

    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets.size(), 8u);
    ASSERT_EQ(presets.back().name(), "zero");
    const Values before = allValues();
    Console::Capture capture;
    for (const auto& preset : presets) {
        if (preset.name() == "limit")
            continue;
        unit->setCurrentPreset(preset);
        unit->setCurrentPreset(AUAudioUnitPreset(-1, preset.name()));
        unit->setFullState(unit->presetState(preset));
        EXPECT_EQ(unit->currentPreset(), std::nullopt) << preset.name();
        EXPECT_EQ(allValues(), before) << preset.name();
    }
    EXPECT_EQ(capture.lines().size(), 21u);
    for (const auto& line : capture.lines())
        EXPECT_THAT(line, AnyOf(HasSubstr("nests deeper than 256 levels"), HasSubstr("it is a device"),
                              HasSubstr("it is a pipe"), HasSubstr("bytes, more than the")));

    unit->setCurrentPreset(presets[4]);
    EXPECT_EQ(unit->currentPreset(), AUAudioUnitPreset(4, "limit"));
    EXPECT_EQ(unit->getParameter(1001), 0.25f);
}

// Each item reached by its index walked the array from its start: a file
// this long took hours. Its array is as long as the limit of values allows.
TEST_F(AudioUnitPresetsTest, ABinaryPresetWithALongArrayIsApplied)
{
    const Data value { 0x23, 0x3F, 0xC0, 0, 0, 0, 0, 0, 0 };
    const auto items = static_cast<std::uint32_t>(PropertyListSerialization::kMaximumValues - 11);
    writeBytes("Long.velmora",
        binaryObjects({ { 0xD2, 1, 2, 3, 4 }, binaryText("group 0"), binaryText("notes"), { 0xD1, 5, 6 },
            binaryArrayOf(7, items), binaryText("param 0"), { 0xD2, 8, 9, 10, 11 }, { 0x09 }, binaryText("address"),
            binaryText("value"), { 0x11, 0x03, 0xED }, value }));
    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets.size(), 1u);
    unit->setCurrentPreset(presets[0]);
    EXPECT_EQ(unit->currentPreset(), presets[0]);
    EXPECT_EQ(unit->getParameter(1005), 0.125f);
}

// Read, the first took 2 GB, the second most of a minute: keys that "Az" and
// "BY" make alike share one place of the reader's table. The third passes
// the limit of values by one.
TEST_F(AudioUnitPresetsTest, FilesThatWouldNeedGigabytesOrMinutesAreRefusedByEveryWayIn)
{
    Data text { 0x5F, 0x12 };
    appendBigEndian(text, 32 << 10, 4);
    text.insert(text.end(), 32 << 10, 'x');
    writeBytes("shared.velmora", binaryObjects({ binaryArrayOf(1, 32 << 10), text }));
    std::string keys;
    for (std::uint32_t i = 0; i < 1 << 16; ++i) {
        keys += "<key>";
        for (int bit = 15; bit >= 0; --bit)
            keys += (i >> bit & 1) ? "BY" : "Az";
        keys += "</key><true/>";
    }
    writeText("keys.velmora", "<plist><dict>" + keys + "</dict></plist>");
    Data pairs { 0xDF, 0x12 };
    appendBigEndian(pairs, PropertyListSerialization::kMaximumValues / 2, 4);
    pairs.insert(pairs.end(), PropertyListSerialization::kMaximumValues, 1);
    writeBytes("pairs.velmora", binaryObjects({ pairs, binaryText("k") }));

    const Values before = allValues();
    Console::Capture capture;
    for (const auto& preset : unit->factoryPresets()) {
        unit->setCurrentPreset(preset);
        unit->setCurrentPreset(AUAudioUnitPreset(-1, preset.name()));
        unit->setFullState(unit->presetState(preset));
        EXPECT_EQ(unit->currentPreset(), std::nullopt) << preset.name();
        EXPECT_EQ(allValues(), before) << preset.name();
    }
    EXPECT_THAT(capture.lines(), testing::Each(AnyOf(HasSubstr("bytes of text, data and keys"),
                                     HasSubstr("so many keys, so long"), HasSubstr("more than 131072 values"))));
    EXPECT_EQ(capture.lines().size(), 9u);
}

// A host's observer that throws stands for anything failing on the way; it
// throws again while the values are set back.
TEST_F(AudioUnitPresetsTest, APresetWhoseApplyingThrowsIsReportedAndSetsEveryValueBack)
{
    writePreset("A.velmora", { { 1001, 0.25f }, { 1005, 0.125f } });
    const auto presets = unit->factoryPresets();
    const Values before = allValues();
    int heard = 0;
    const auto token = unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) {
        if (++heard % 2 == 0)
            throw std::bad_alloc();
    });
    Console::Capture capture;
    EXPECT_NO_THROW(unit->setCurrentPreset(presets.at(0)));
    EXPECT_NO_THROW(unit->setCurrentPreset(AUAudioUnitPreset(-1, "A")));
    unit->parameterTree()->removeParameterObserver(token);
    EXPECT_EQ(unit->currentPreset(), std::nullopt);
    EXPECT_EQ(allValues(), before);
    EXPECT_THAT(capture.lines(),
        testing::Each("AUExtension::ERROR: The preset 'A' could not be applied: std::bad_alloc"));
    EXPECT_EQ(capture.lines().size(), 2u);
}

// The observer throws on the third value of six and again while the values
// are set back, and what it throws is no standard exception.
TEST_F(AudioUnitPresetsTest, AStateWhoseApplyingThrowsIsReportedAndSetsEveryValueBack)
{
    const Values before = allValues();
    int heard = 0;
    const auto token = unit->parameterTree()->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) {
        if (++heard % 3 == 0)
            throw 42;
    });
    Console::Capture capture;
    EXPECT_NO_THROW(unit->setFullState(presetDictionary(
        { { 1001, 0.25f }, { 1002, 0.75f }, { 1003, 0.125f }, { 1004, 0.375f }, { 1005, 0.625f }, { 1006, 0.875f } })));
    unit->parameterTree()->removeParameterObserver(token);
    EXPECT_EQ(heard, 6);
    EXPECT_EQ(allValues(), before);
    EXPECT_THAT(capture.lines(), ElementsAre("AUExtension::ERROR: The state could not be applied: an exception of unknown type"));
}

// Each of these ended the process by every way in.
TEST_F(AudioUnitPresetsTest, FilesHidingTheirDepthOrHoldingNulTextsAreRefusedByEveryWayIn)
{
    const auto lists = listsThatEndedTheProcess();
    for (std::size_t i = 0; i < lists.size(); ++i)
        writeBytes(std::to_string(i) + ".velmora", lists[i]);

    const auto presets = unit->factoryPresets();
    ASSERT_EQ(presets.size(), 6u);
    const Values before = allValues();
    Console::Capture capture;
    for (const auto& preset : presets) {
        unit->setCurrentPreset(preset);
        unit->setCurrentPreset(AUAudioUnitPreset(-1, preset.name()));
        unit->setFullState(unit->presetState(preset));
        EXPECT_EQ(unit->currentPreset(), std::nullopt) << preset.name();
        EXPECT_EQ(allValues(), before) << preset.name();
    }
    EXPECT_EQ(capture.lines().size(), 18u);
    for (const auto& line : capture.lines())
        EXPECT_THAT(line, AnyOf(HasSubstr("nests deeper than 256 levels"), HasSubstr("is not a valid")));
}

// Every way in, in turn; a file is refused when it does not become current
// (or, read as a state, holds no group). Whatever is applied stays in range.
TEST_F(AudioUnitPresetsTest, MutatedPresetFilesNeverCrashAndRefusedOnesChangeNothing)
{
    Values written;
    for (int note = 0; note < 12; ++note)
        written[bandAddress(note % 5, note * 10)] = static_cast<float>(note) / 11.0f;
    for (AUParameterAddress address = 100; address <= 111; ++address)
        written[address] = address == 103 ? 2.0f : address == 106 ? 99.0f : 0.25f;
    writePreset("m.velmora", written);
    std::ifstream in(presetsFolder / "m.velmora", std::ios::binary);
    const std::string original { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    const AUAudioUnitPreset listed = unit->factoryPresets().at(0);

    const auto parameters = unit->parameterTree()->allParameters();
    const auto snapshot = [&] {
        std::vector<AUValue> values;
        for (const auto& parameter : parameters)
            values.push_back(parameter->value());
        return values;
    };
    PresetMutator mutator(20);
    int refused = 0;
    Console::Capture capture;
    for (int file = 0; file < 3000; ++file) {
        std::ofstream(presetsFolder / "m.velmora", std::ios::binary | std::ios::trunc) << mutator.mutated(original);
        unit->setCurrentPreset(std::nullopt);
        const auto before = snapshot();
        bool applied = true;
        switch (file % 3) {
        case 0: unit->setCurrentPreset(listed); applied = unit->currentPreset().has_value(); break;
        case 1: unit->setCurrentPreset(AUAudioUnitPreset(-1, "m")); applied = unit->currentPreset().has_value(); break;
        default: {
            const auto state = unit->presetState(listed);
            unit->setFullState(state);
            applied = state.at("count") != PropertyListValue(0);
        }
        }
        const auto after = snapshot();
        refused += !applied;
        if (!applied) {
            ASSERT_EQ(after, before) << "file " << file;
        }
        for (std::size_t i = 0; i < parameters.size(); ++i)
            ASSERT_TRUE(after[i] >= parameters[i]->minValue() && after[i] <= parameters[i]->maxValue())
                << "file " << file << ", address " << parameters[i]->address() << ": " << after[i];
    }
    EXPECT_GT(refused, 500);
    EXPECT_LT(refused, 2500);
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
