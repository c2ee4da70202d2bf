#include "ZUV_VELMORA_Quillmere_Extension_Parameters.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

namespace {

constexpr AudioUnitParameterOptions kReadWrite = 0xC0000000;

struct Expected {
    const char* identifier;
    const char* name;
    AUParameterAddress address;
    AUValue maxValue;
    std::uint32_t unit;
    AudioUnitParameterOptions flags;
    AUValue kernelValue;
};

// The global parameters as hosts see them, in order, with the value the kernel
// holds after the tree pushed its defaults (108 to 111 are not bound and read 0).
const Expected kGlobals[] = {
    { "kBypass", "Bypass Off/On", 100, 1, 2, kReadWrite, 0 },
    { "kVolumeIn", "Volume Input", 101, 1, 0, kReadWrite, 0.5f },
    { "kVolumeOut", "Volume Out", 102, 1, 0, kReadWrite, 0.5f },
    { "kProcessingMode", "Processing Mode", 103, 4, 12, kReadWrite, 0 },
    { "kOperationMode", "Operation Mode", 104, 3, 12, kReadWrite, 0 },
    { "kRangeLeft", "Range Left", 105, 127, 12, kReadWrite, 0 },
    { "kRangeRight", "Range Right", 106, 127, 12, kReadWrite, 127 },
    { "kMix", "Output Mix", 107, 1, 0, kReadWrite, 1 },
    { "kLimiterAttack", "Limiter Attack", 108, 1, 4, kReadWrite, 0 },
    { "kLimiterDecay", "Limiter Hold", 109, 1, 4, kReadWrite, 0 },
    { "kLimiterRelease", "Limiter Release", 110, 1, 4, kReadWrite, 0 },
    { "kCompanderMultiplier", "Compander", 111, 1, 0, 0x40000000, 0 },
};

const Expected kBands[] = {
    { "kLinked0", "Stereo Link Band 0", 1000, 1, 0, kReadWrite, 0.5f },
    { "kLeft127", "Left Channel Band 127", 2127, 1, 0, kReadWrite, 0.5f },
    { "kRight64", "Right Channel Band 64", 3064, 1, 0, kReadWrite, 0.5f },
    { "kMid10", "Mid Channel Band 10", 4010, 1, 0, kReadWrite, 0.5f },
    { "kSide5", "Sie Channel Value 5", 5005, 1, 0, kReadWrite, 0.5f },
};

void expectParameter(const AUParameter& parameter, const Expected& expected)
{
    SCOPED_TRACE(expected.identifier);
    EXPECT_EQ(parameter.identifier(), expected.identifier);
    EXPECT_EQ(parameter.displayName(), expected.name);
    EXPECT_EQ(parameter.address(), expected.address);
    EXPECT_EQ(parameter.minValue(), 0.0f);
    EXPECT_EQ(parameter.maxValue(), expected.maxValue);
    EXPECT_EQ(static_cast<std::uint32_t>(parameter.unit()), expected.unit);
    EXPECT_EQ(parameter.flags(), expected.flags);
    EXPECT_EQ(parameter.value(), expected.kernelValue);
    EXPECT_FALSE(parameter.unitName().has_value() || parameter.valueStrings().has_value());
}

class ParametersTest : public testing::Test {
protected:
    std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter> adapter
        = std::make_shared<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>();
    ZUV_VELMORA_Quillmere_Extension_Parameters parameters { adapter };
    const std::shared_ptr<AUParameterTree>& tree = parameters.parameterTree();
};

} // namespace

TEST_F(ParametersTest, SixGroupsInOrderHoldTheHostsParameters)
{
    const std::pair<const char*, const char*> groups[] {
        { "kGlobalParameters", "ZUV VELMORA Quillmere" }, { "kLinkedParameters", "Quillmere Stereo Link" },
        { "kLeftParameters", "Quillmere Left Channel" },  { "kRightParameters", "Quillmere Right Channel" },
        { "kMidParameters", "Quillmere Mid Channel" },    { "kSideParameters", "Quillmere Side Channel" },
    };
    ASSERT_EQ(tree->children().size(), std::size(groups));
    for (std::size_t index = 0; index < std::size(groups); ++index) {
        const auto group = std::dynamic_pointer_cast<AUParameterGroup>(tree->children()[index]);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->identifier(), groups[index].first);
        EXPECT_EQ(group->displayName(), groups[index].second);
        EXPECT_EQ(group->children().size(), index == 0 ? 12u : 128u);
    }
    const auto all = tree->allParameters();
    ASSERT_EQ(all.size(), 652u);
    for (std::size_t index = 0; index < std::size(kGlobals); ++index)
        expectParameter(*all[index], kGlobals[index]);
    for (const auto& band : kBands)
        expectParameter(*tree->parameterWithAddress(band.address), band);
    EXPECT_EQ(all.back()->identifier(), "kSide127");
}

TEST_F(ParametersTest, TreeAndKernelFollowEachOther)
{
    for (std::int32_t base = 1000; base <= 5000; base += 1000)
        for (std::int32_t note = 0; note < 128; ++note)
            ASSERT_EQ(adapter->getParameterEx(base + note), 0.5f) << base + note;
    EXPECT_EQ(adapter->getParameterEx(106), 127.0f);

    tree->parameterWithAddress(2005)->setValue(0.25f);
    EXPECT_EQ(adapter->getParameterEx(2005), 0.25f);
    adapter->setParameterEx(101, 0.75f);
    EXPECT_EQ(tree->parameterWithAddress(101)->value(), 0.75f);
    const auto bypass = tree->parameterWithAddress(100);
    bypass->setValue(0.5f);
    EXPECT_EQ(bypass->value(), 1.0f);

    const AUValue quarter = 0.25f;
    EXPECT_EQ(tree->parameterWithAddress(107)->stringFromValue(&quarter), "0.250");
    EXPECT_EQ(tree->parameterWithAddress(107)->stringFromValue(nullptr), "1.000");
}
