#include "AUParameterTree.h"
#include "Console.h"
#include "AudioUnitTestSupport.h"
#include "ZUVPreset.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

using Dictionary = PropertyListValue::Dictionary;
using R = PresetDelegateRecorder;
using testing::ElementsAre;
using testing::UnorderedElementsAre;

namespace {

std::shared_ptr<AUParameter> makeParameter(const std::string& identifier, AUParameterAddress address, AUValue value)
{
    auto parameter = AUParameterTree::createParameter(identifier, identifier, address, -1.0f, 1.0f,
        AudioUnitParameterUnit::generic, std::nullopt, kAudioUnitParameterFlag_IsWritable, std::nullopt);
    parameter->setValue(value);
    return parameter;
}

Dictionary paramRecord(std::int64_t address, const std::string& identifier, double value)
{
    return { { "address", address }, { "identifier", identifier }, { "value", value } };
}

} // namespace

TEST(ZUVPresetTest, CaptureListsGroupsDepthFirstWithEveryParameterBelowThem)
{
    // root: loose, outer{ a, inner{ b }, c }, last{ d }
    auto inner = AUParameterTree::createGroup("inner", "Inner", { makeParameter("b", 2, 0.25f) });
    auto outer = AUParameterTree::createGroup(
        "outer", "Outer", { makeParameter("a", 1, 0.1f), inner, makeParameter("c", 3, -0.0f) });
    auto last = AUParameterTree::createGroup("last", "Last", { makeParameter("d", 4, 1.0e-45f) });
    const auto tree = AUParameterTree::createTree({ makeParameter("loose", 9, 0.5f), outer, last });
    ZUVPreset preset;
    preset.makeFrom(tree.get());

    Dictionary expected { { "version", 1 }, { "type", 1635085670 }, { "manufacturer", 0x5A554E4B },
        { "subtype", 0x6B627277 }, { "number", 0 }, { "name", "ZUV VELMORA Quillmere Preset" }, { "count", 3 } };
    expected.emplace("group 0",
        Dictionary { { "identifier", "outer" }, { "count", 3 }, { "param 0", paramRecord(1, "a", 0.1f) },
            { "param 1", paramRecord(2, "b", 0.25f) }, { "param 2", paramRecord(3, "c", -0.0f) } });
    expected.emplace("group 1",
        Dictionary { { "identifier", "inner" }, { "count", 1 }, { "param 0", paramRecord(2, "b", 0.25f) } });
    expected.emplace("group 2",
        Dictionary { { "identifier", "last" }, { "count", 1 }, { "param 0", paramRecord(4, "d", 1.0e-45f) } });
    EXPECT_EQ(preset.getDictionary(), expected);

    Console::Capture capture;
    ZUVPreset empty;
    empty.makeFrom(nullptr);
    EXPECT_THAT(capture.lines(), ElementsAre("PresetPatch: The parameter group has no children."));
    expected.insert_or_assign("count", 0);
    std::erase_if(expected, [](const auto& entry) { return entry.first.starts_with("group"); });
    EXPECT_EQ(empty.getDictionary(), expected);
}

TEST(ZUVPresetTest, AnyKeyHoldingTheWordIsARecordAndIncompleteRecordsUseInitialValues)
{
    const Dictionary group { { "identifier", "Band 12" }, { "param", Dictionary { { "address", 5 } } },
        { "my param 7", Dictionary { { "identifier", "x" }, { "value", 0.5 } } },
        { "PARAM 8", paramRecord(6, "ignored", 1.0) } };
    const Dictionary state { { "group", group }, { "Group 5", group }, { "count", 99 }, { "name", "Other" },
        { "subgroupX",
            Dictionary { { "identifier", "y -3" }, { "count", 7 }, { "param 0", paramRecord(9, "z", 2.0) } } } };
    PresetDelegateRecorder delegate;
    ZUVPreset preset;
    preset.makeFrom(Dictionary { { "group 0", Dictionary { { "param 0", paramRecord(1, "old", 1.0) } } } }, nullptr);
    preset.makeFrom(state, &delegate);

    EXPECT_THAT(delegate.calls,
        UnorderedElementsAre(R::call(12, "parameter", 5, 0.0f), R::call(12, "x", 0, 0.5f), R::call(-3, "z", 9, 2.0f)));
    const auto dict = preset.getDictionary();
    EXPECT_EQ(dict.at("count"), PropertyListValue(2));
    EXPECT_EQ(dict.at("name"), PropertyListValue("Other"));
}

TEST(ZUVPresetTest, WronglyTypedOrNonFiniteEntriesAreSkippedAndTheRestApplies)
{
    const Dictionary group { { "identifier", 17 }, { "param 0", paramRecord(1, "good", 0.75) },
        { "param 1", Dictionary { { "address", 2 }, { "value", "loud" } } },
        { "param 2", paramRecord(3, "nan", std::numeric_limits<double>::quiet_NaN()) },
        { "param 3", paramRecord(4, "inf", -std::numeric_limits<double>::infinity()) },
        { "param 4", paramRecord(5, "huge", 1.0e300) }, { "param 5", paramRecord(-6, "negative", 0.5) },
        { "param 6", Dictionary { { "address", 2.0 } } }, { "param 7", Dictionary { { "identifier", true } } },
        { "param 8", "not a record" }, { "param 9", Dictionary { { "address", 10 }, { "value", 1 } } } };
    const Dictionary state { { "version", "one" }, { "type", -1 }, { "group 0", group },
        { "group 1", PropertyListValue::Array {} } };

    Console::Capture capture;
    PresetDelegateRecorder delegate;
    ZUVPreset preset;
    preset.makeFrom(state, &delegate);

    EXPECT_THAT(delegate.calls, ElementsAre(R::call(0, "good", 1, 0.75f), R::call(0, "parameter", 10, 1.0f)));
    const auto lines = capture.lines();
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "PresetGroup::WARNING: The entry 'identifier' has the wrong type and is skipped.");
    EXPECT_EQ(lines[1], "PresetParam::WARNING: The entry 'value' has the wrong type; the parameter record is skipped.");
    EXPECT_EQ(lines[2],
        "PresetParam::WARNING: The entry 'value' is not a finite number; the parameter record is skipped.");
    EXPECT_EQ(lines[5],
        "PresetParam::WARNING: The entry 'address' has the wrong type; the parameter record is skipped.");
    EXPECT_EQ(lines[8], "PresetGroup::WARNING: The entry 'param 8' is not a dictionary and is skipped.");
    EXPECT_EQ(lines[9], "PresetPatch::WARNING: The entry 'group 1' is not a dictionary and is skipped.");
    EXPECT_EQ(lines[11], "PresetPatch::WARNING: The entry 'version' has the wrong type and is skipped.");
    EXPECT_EQ(preset.getDictionary().at("type"), PropertyListValue(1635085670));
}

TEST(ZUVPresetTest, GroupNumberIsTheLastBlankSeparatedPieceWhenItIsADecimalNumber)
{
    const std::vector<std::pair<std::string, std::int64_t>> cases { { "kGlobalParameters", 0 }, { "a b -7", -7 },
        { "x +8", 8 }, { "42", 42 }, { "x ", 0 }, { "x 1.5", 0 }, { "x +-5", 0 },
        { "x -9223372036854775808", std::numeric_limits<std::int64_t>::min() }, { "x 9223372036854775808", 0 } };
    for (const auto& [identifier, number] : cases) {
        PresetGroup group;
        group.id = 99;
        group.identifier = identifier;
        group.findGroupNumber();
        EXPECT_EQ(group.id, number) << '"' << identifier << '"';
    }
}
