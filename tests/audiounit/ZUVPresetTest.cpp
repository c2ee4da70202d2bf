#include "AUParameterTree.h"
#include "Console.h"
#include "PresetDelegateRecorder.h"
#include "ZUVPreset.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using Dictionary = PropertyListValue::Dictionary;
using testing::ElementsAre;
using testing::UnorderedElementsAre;
using testing::UnorderedElementsAreArray;

namespace {

std::shared_ptr<AUParameter> makeParameter(const std::string& identifier, AUParameterAddress address, AUValue value)
{
    auto parameter = AUParameterTree::createParameter(identifier, identifier, address, -1.0e38f, 1.0e38f,
        AudioUnitParameterUnit::generic, std::nullopt,
        kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable, std::nullopt);
    parameter->setValue(value);
    return parameter;
}

// root: loose(9), outer{ a(1), inner{ b(2) }, c(3) }, last{ d(4) }
std::shared_ptr<AUParameterTree> makeNestedTree()
{
    auto inner = AUParameterTree::createGroup("inner", "Inner", { makeParameter("b", 2, 0.25f) });
    auto outer = AUParameterTree::createGroup(
        "outer", "Outer", { makeParameter("a", 1, 0.1f), inner, makeParameter("c", 3, -0.0f) });
    auto last = AUParameterTree::createGroup("last", "Last", { makeParameter("d", 4, 1.0e-45f) });
    return AUParameterTree::createTree({ makeParameter("loose", 9, 7.0f), outer, last });
}

const Dictionary& dictionaryAt(const Dictionary& dict, const std::string& key)
{
    return *dict.at(key).get<Dictionary>();
}

Dictionary paramRecord(std::int64_t address, const std::string& identifier, double value)
{
    return { { "address", address }, { "identifier", identifier }, { "value", value } };
}

} // namespace

TEST(ZUVPresetTest, NewPresetGivesTheComponentHeaderAndNoGroups)
{
    const Dictionary dict = ZUVPreset().getDictionary();
    EXPECT_EQ(dict,
        (Dictionary { { "version", 1 }, { "type", 1635085670 }, { "manufacturer", 0x5A554E4B },
            { "subtype", 0x6B627277 }, { "number", 0 }, { "name", "ZUV VELMORA Quillmere Preset" },
            { "count", 0 } }));
}

TEST(ZUVPresetTest, MissingTreeIsReportedOnceAndChangesNothing)
{
    Console::Capture capture;
    ZUVPreset preset;
    preset.makeFrom(nullptr);
    EXPECT_THAT(capture.lines(), ElementsAre("PresetPatch: The parameter group has no children."));
    EXPECT_EQ(preset.getDictionary(), ZUVPreset().getDictionary());
}

TEST(ZUVPresetTest, CaptureListsGroupsDepthFirstWithEveryParameterBelowThem)
{
    ZUVPreset preset;
    preset.makeFrom(makeNestedTree().get());
    const Dictionary dict = preset.getDictionary();

    EXPECT_EQ(dict.at("count"), PropertyListValue(3));
    EXPECT_EQ(dict.count("group 3"), 0u);
    EXPECT_EQ(dictionaryAt(dict, "group 0"),
        (Dictionary { { "identifier", "outer" }, { "count", 3 }, { "param 0", paramRecord(1, "a", 0.1f) },
            { "param 1", paramRecord(2, "b", 0.25f) }, { "param 2", paramRecord(3, "c", -0.0f) } }));
    EXPECT_EQ(dictionaryAt(dict, "group 1"),
        (Dictionary { { "identifier", "inner" }, { "count", 1 }, { "param 0", paramRecord(2, "b", 0.25f) } }));
    EXPECT_EQ(dictionaryAt(dict, "group 2"),
        (Dictionary { { "identifier", "last" }, { "count", 1 }, { "param 0", paramRecord(4, "d", 1.0e-45f) } }));
    EXPECT_TRUE(std::signbit(*dictionaryAt(dictionaryAt(dict, "group 0"), "param 2").at("value").get<double>()));
}

TEST(ZUVPresetTest, RepeatedCaptureAppendsAndEmptyTreeAddsNothing)
{
    ZUVPreset preset;
    const auto tree = makeNestedTree();
    preset.makeFrom(tree.get());
    preset.makeFrom(tree.get());
    const Dictionary dict = preset.getDictionary();
    EXPECT_EQ(dict.at("count"), PropertyListValue(6));
    EXPECT_EQ(dict.at("group 5"), dict.at("group 2"));

    Console::Capture capture;
    ZUVPreset empty;
    empty.makeFrom(AUParameterTree::createTree({}).get());
    EXPECT_TRUE(capture.lines().empty());
    EXPECT_EQ(empty.getDictionary().at("count"), PropertyListValue(0));
}

TEST(ZUVPresetTest, ReadingHandsEveryCapturedRecordToTheDelegateOfThatRead)
{
    ZUVPreset captured;
    captured.makeFrom(makeNestedTree().get());

    PresetDelegateRecorder delegate;
    ZUVPreset reader;
    reader.makeFrom(captured.getDictionary(), &delegate);
    using R = PresetDelegateRecorder;
    EXPECT_THAT(delegate.calls,
        UnorderedElementsAre(R::call(0, "a", 1, 0.1f), R::call(0, "b", 2, 0.25f), R::call(0, "c", 3, -0.0f),
            R::call(0, "b", 2, 0.25f), R::call(0, "d", 4, 1.0e-45f)));
    EXPECT_EQ(reader.getDictionary(), captured.getDictionary());

    ZUVPreset quiet;
    quiet.makeFrom(captured.getDictionary(), nullptr);
    EXPECT_EQ(quiet.getDictionary(), captured.getDictionary());
}

TEST(ZUVPresetTest, AbsentStateChangesNothing)
{
    ZUVPreset preset;
    preset.makeFrom(makeNestedTree().get());
    const Dictionary before = preset.getDictionary();
    PresetDelegateRecorder delegate;
    preset.makeFrom(std::nullopt, &delegate);
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_EQ(preset.getDictionary(), before);
}

TEST(ZUVPresetTest, ReadingReplacesTheGroupsAndKeepsTheHeaderItReads)
{
    ZUVPreset preset;
    preset.makeFrom(makeNestedTree().get());
    const Dictionary state { { "version", 3 }, { "type", 42 }, { "name", "Other" }, { "number", -4 },
        { "manufacturer", 7 }, { "subtype", 8 }, { "count", 99 },
        { "group 0", Dictionary { { "identifier", "only" }, { "count", 5 } } } };
    preset.makeFrom(state, nullptr);
    EXPECT_EQ(preset.getDictionary(),
        (Dictionary { { "version", 3 }, { "type", 42 }, { "name", "Other" }, { "number", -4 },
            { "manufacturer", 7 }, { "subtype", 8 }, { "count", 1 },
            { "group 0", Dictionary { { "identifier", "only" }, { "count", 0 } } } }));
}

TEST(ZUVPresetTest, AnyKeyHoldingTheWordIsARecordAndIncompleteRecordsUseInitialValues)
{
    const Dictionary group { { "identifier", "Band 12" }, { "param", Dictionary { { "address", 5 } } },
        { "my param 7", Dictionary { { "identifier", "x" }, { "value", 0.5 } } },
        { "PARAM 8", Dictionary { { "address", 6 }, { "value", 1.0 } } } };
    const Dictionary state { { "group", group }, { "subgroupX", Dictionary { { "identifier", "y -3" },
                                                       { "param 0", paramRecord(9, "z", 2.0) } } },
        { "Group 5", group } };
    PresetDelegateRecorder delegate;
    ZUVPreset().makeFrom(state, &delegate);
    using R = PresetDelegateRecorder;
    EXPECT_THAT(delegate.calls,
        UnorderedElementsAre(R::call(12, "parameter", 5, 0.0f), R::call(12, "x", 0, 0.5f), R::call(-3, "z", 9, 2.0f)));
}

TEST(ZUVPresetTest, WronglyTypedOrNonFiniteEntriesAreSkippedAndTheRestApplies)
{
    const Dictionary group { { "identifier", 17 }, { "param 0", paramRecord(1, "good", 0.75) },
        { "param 1", Dictionary { { "address", 2 }, { "value", "loud" } } },
        { "param 2", paramRecord(3, "nan", std::numeric_limits<double>::quiet_NaN()) },
        { "param 3", paramRecord(4, "inf", -std::numeric_limits<double>::infinity()) },
        { "param 4", paramRecord(5, "huge", 1.0e300) }, { "param 5", paramRecord(-6, "negative", 0.5) },
        { "param 6", Dictionary { { "address", 2.0 }, { "value", 0.5 } } },
        { "param 7", Dictionary { { "address", 8 }, { "identifier", true }, { "value", 0.5 } } },
        { "param 8", "not a record" }, { "param 9", Dictionary { { "address", 10 }, { "value", 1 } } } };
    const Dictionary state { { "version", "one" }, { "type", -1 }, { "name", 5 }, { "group 0", group },
        { "group 1", PropertyListValue::Array {} } };

    Console::Capture capture;
    PresetDelegateRecorder delegate;
    ZUVPreset preset;
    preset.makeFrom(state, &delegate);

    using R = PresetDelegateRecorder;
    EXPECT_THAT(delegate.calls, ElementsAre(R::call(0, "good", 1, 0.75f), R::call(0, "parameter", 10, 1.0f)));
    EXPECT_THAT(capture.lines(),
        UnorderedElementsAreArray<std::string>({
            "PresetPatch::WARNING: The entry 'version' has the wrong type and is skipped.",
            "PresetPatch::WARNING: The entry 'type' has the wrong type and is skipped.",
            "PresetPatch::WARNING: The entry 'name' has the wrong type and is skipped.",
            "PresetPatch::WARNING: The entry 'group 1' is not a dictionary and is skipped.",
            "PresetGroup::WARNING: The entry 'identifier' has the wrong type and is skipped.",
            "PresetGroup::WARNING: The entry 'param 8' is not a dictionary and is skipped.",
            "PresetParam::WARNING: The entry 'value' has the wrong type; the parameter record is skipped.",
            "PresetParam::WARNING: The entry 'value' is not a finite number; the parameter record is skipped.",
            "PresetParam::WARNING: The entry 'value' is not a finite number; the parameter record is skipped.",
            "PresetParam::WARNING: The entry 'value' is not a finite number; the parameter record is skipped.",
            "PresetParam::WARNING: The entry 'address' has the wrong type; the parameter record is skipped.",
            "PresetParam::WARNING: The entry 'address' has the wrong type; the parameter record is skipped.",
            "PresetParam::WARNING: The entry 'identifier' has the wrong type; the parameter record is skipped.",
        }));
    const Dictionary dict = preset.getDictionary();
    EXPECT_EQ(dict.at("version"), PropertyListValue(1));
    EXPECT_EQ(dict.at("name"), PropertyListValue("ZUV VELMORA Quillmere Preset"));
    EXPECT_EQ(dictionaryAt(dict, "group 0").at("count"), PropertyListValue(2));
}

TEST(ZUVPresetTest, GroupNumberIsTheLastBlankSeparatedPieceWhenItIsADecimalNumber)
{
    const std::vector<std::pair<std::string, std::int64_t>> cases { { "kGlobalParameters", 0 }, { "Band 12", 12 },
        { "a b -7", -7 }, { "x +8", 8 }, { "a  5", 5 }, { "42", 42 }, { "x ", 0 }, { "", 0 }, { "x 1.5", 0 },
        { "x 7a", 0 }, { "x +", 0 }, { "x +-5", 0 }, { "x --5", 0 }, { "x 9223372036854775807", 9223372036854775807 },
        { "x -9223372036854775808", std::numeric_limits<std::int64_t>::min() }, { "x 9223372036854775808", 0 } };
    for (const auto& [identifier, number] : cases) {
        PresetGroup group;
        group.id = 99;
        group.identifier = identifier;
        group.findGroupNumber();
        EXPECT_EQ(group.id, number) << '"' << identifier << '"';
    }
}
