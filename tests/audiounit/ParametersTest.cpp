#include "ZUV_VELMORA_Quillmere_Extension_Parameters.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

namespace {

constexpr AudioUnitParameterOptions kReadable = 0x40000000;
constexpr AudioUnitParameterOptions kWritable = 0x80000000;

struct Expected {
    const char* identifier;
    const char* name;
    AUParameterAddress address;
    AUValue minValue;
    AUValue maxValue;
    std::uint32_t unit;
    AudioUnitParameterOptions flags;
    AUValue kernelValue;
};

// The global parameters as hosts see them, with the value the kernel holds after
// the tree pushed its defaults (108 to 111 are not bound and read 0).
const Expected kGlobals[] = {
    { "kBypass", "Bypass Off/On", 100, 0, 1, 2, kReadable | kWritable, 0 },
    { "kVolumeIn", "Volume Input", 101, 0, 1, 0, kReadable | kWritable, 0.5f },
    { "kVolumeOut", "Volume Out", 102, 0, 1, 0, kReadable | kWritable, 0.5f },
    { "kProcessingMode", "Processing Mode", 103, 0, 4, 12, kReadable | kWritable, 0 },
    { "kOperationMode", "Operation Mode", 104, 0, 3, 12, kReadable | kWritable, 0 },
    { "kRangeLeft", "Range Left", 105, 0, 127, 12, kReadable | kWritable, 0 },
    { "kRangeRight", "Range Right", 106, 0, 127, 12, kReadable | kWritable, 127 },
    { "kMix", "Output Mix", 107, 0, 1, 0, kReadable | kWritable, 1 },
    { "kLimiterAttack", "Limiter Attack", 108, 0, 1, 4, kReadable | kWritable, 0 },
    { "kLimiterDecay", "Limiter Hold", 109, 0, 1, 4, kReadable | kWritable, 0 },
    { "kLimiterRelease", "Limiter Release", 110, 0, 1, 4, kReadable | kWritable, 0 },
    { "kCompanderMultiplier", "Compander", 111, 0, 1, 0, kReadable, 0 },
};

void expectParameter(const AUParameter& parameter, const Expected& expected)
{
    SCOPED_TRACE(expected.identifier);
    EXPECT_EQ(parameter.identifier(), expected.identifier);
    EXPECT_EQ(parameter.displayName(), expected.name);
    EXPECT_EQ(parameter.address(), expected.address);
    EXPECT_EQ(parameter.minValue(), expected.minValue);
    EXPECT_EQ(parameter.maxValue(), expected.maxValue);
    EXPECT_EQ(static_cast<std::uint32_t>(parameter.unit()), expected.unit);
    EXPECT_EQ(parameter.flags(), expected.flags);
    EXPECT_EQ(parameter.value(), expected.kernelValue);
    EXPECT_FALSE(parameter.unitName().has_value());
    EXPECT_FALSE(parameter.valueStrings().has_value());
}

class ParametersTest : public testing::Test {
protected:
    std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter> adapter
        = std::make_shared<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>();
    ZUV_VELMORA_Quillmere_Extension_Parameters parameters { adapter };
    const std::shared_ptr<AUParameterTree>& tree = parameters.parameterTree();
};

} // namespace

TEST_F(ParametersTest, SixGroupsInOrderHold652Parameters)
{
    const std::vector<std::pair<std::string, std::string>> groups {
        { "kGlobalParameters", "ZUV VELMORA Quillmere" }, { "kLinkedParameters", "Quillmere Stereo Link" },
        { "kLeftParameters", "Quillmere Left Channel" },  { "kRightParameters", "Quillmere Right Channel" },
        { "kMidParameters", "Quillmere Mid Channel" },    { "kSideParameters", "Quillmere Side Channel" },
    };
    ASSERT_EQ(tree->children().size(), groups.size());
    for (std::size_t index = 0; index < groups.size(); ++index) {
        const auto group = std::dynamic_pointer_cast<AUParameterGroup>(tree->children()[index]);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->identifier(), groups[index].first);
        EXPECT_EQ(group->displayName(), groups[index].second);
        EXPECT_EQ(group->children().size(), index == 0 ? 12u : 128u);
    }
    EXPECT_EQ(tree->allParameters().size(), 652u);
}

TEST_F(ParametersTest, GlobalParametersAreTheHostsTable)
{
    const auto globals = std::dynamic_pointer_cast<AUParameterGroup>(tree->children()[0])->allParameters();
    ASSERT_EQ(globals.size(), std::size(kGlobals));
    for (std::size_t index = 0; index < globals.size(); ++index)
        expectParameter(*globals[index], kGlobals[index]);
}

TEST_F(ParametersTest, BandParametersAreNumberedPerGroup)
{
    const Expected bands[] = {
        { "kLinked0", "Stereo Link Band 0", 1000, 0, 1, 0, kReadable | kWritable, 0.5f },
        { "kLeft127", "Left Channel Band 127", 2127, 0, 1, 0, kReadable | kWritable, 0.5f },
        { "kRight64", "Right Channel Band 64", 3064, 0, 1, 0, kReadable | kWritable, 0.5f },
        { "kMid10", "Mid Channel Band 10", 4010, 0, 1, 0, kReadable | kWritable, 0.5f },
        { "kSide5", "Sie Channel Value 5", 5005, 0, 1, 0, kReadable | kWritable, 0.5f },
    };
    for (const auto& band : bands) {
        const auto parameter = tree->parameterWithAddress(band.address);
        ASSERT_NE(parameter, nullptr) << band.address;
        expectParameter(*parameter, band);
    }
    const auto side = std::dynamic_pointer_cast<AUParameterGroup>(tree->children()[5])->allParameters();
    EXPECT_EQ(side.front()->address(), 5000u);
    EXPECT_EQ(side.back()->identifier(), "kSide127");
}

TEST_F(ParametersTest, BuildingPushesEveryDefaultIntoTheKernel)
{
    for (const auto& global : kGlobals)
        EXPECT_EQ(adapter->getParameterEx(static_cast<std::int32_t>(global.address)), global.kernelValue)
            << global.identifier;
    for (std::int32_t base = 1000; base <= 5000; base += 1000)
        for (std::int32_t note = 0; note < 128; ++note)
            ASSERT_EQ(adapter->getParameterEx(base + note), 0.5f) << base + note;
}

TEST_F(ParametersTest, TreeAndKernelFollowEachOther)
{
    tree->parameterWithAddress(2005)->setValue(0.25f);
    EXPECT_EQ(adapter->getParameterEx(2005), 0.25f);

    adapter->setParameterEx(101, 0.75f);
    EXPECT_EQ(tree->parameterWithAddress(101)->value(), 0.75f);

    const auto bypass = tree->parameterWithAddress(100);
    bypass->setValue(0.5f);
    EXPECT_EQ(bypass->value(), 1.0f);
}

TEST_F(ParametersTest, ValuesShowWithThreeDecimals)
{
    const auto mix = tree->parameterWithAddress(107);
    const AUValue quarter = 0.25f;
    EXPECT_EQ(mix->stringFromValue(&quarter), "0.250");
    EXPECT_EQ(mix->stringFromValue(nullptr), "1.000");
}
