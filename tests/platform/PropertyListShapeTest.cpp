#include "../support/DeepPropertyLists.h"

#include "PropertyListBinaryScan.h"
#include "PropertyListSerialization.h"
#include "PropertyListXMLScan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

constexpr std::size_t kLimit = PropertyListSerialization::kMaximumDepth;

Data bytes(const std::string& text) { return Data(text.begin(), text.end()); }

std::size_t depthOf(const PropertyListValue& value)
{
    std::size_t depth = 0;
    for (const PropertyListValue* inner = &value;;) {
        if (const auto* array = inner->get<PropertyListValue::Array>(); array && !array->empty()) {
            inner = &array->front();
        } else if (const auto* dictionary = inner->get<PropertyListValue::Dictionary>(); dictionary && !dictionary->empty()) {
            inner = &dictionary->begin()->second;
        } else {
            return depth;
        }
        ++depth;
    }
}

void expectTooDeep(const Data& data)
{
    try {
        PropertyListSerialization::propertyList(data);
        ADD_FAILURE() << "a list of " << data.size() << " bytes was read";
    } catch (const PropertyListError& error) {
        EXPECT_THAT(error.what(), HasSubstr("nests deeper than 256 levels"));
    }
}

} // namespace

TEST(PropertyListShape, NestingUpToTheLimitLoadsAndOneLevelMoreIsRefused)
{
    for (const bool dictionaries : {false, true}) {
        EXPECT_EQ(depthOf(PropertyListSerialization::propertyList(bytes(nestedXML(kLimit, dictionaries))))
                  , kLimit);
        expectTooDeep(bytes(nestedXML(kLimit + 1, dictionaries)));
    }
    EXPECT_EQ(depthOf(PropertyListSerialization::propertyList(nestedBinary(kLimit))), kLimit);
    expectTooDeep(nestedBinary(kLimit + 1));
    const std::string emptyInnermost = "<plist>" + repeated("<array>", kLimit + 1) + repeated("</array>", kLimit + 1);
    expectTooDeep(bytes(emptyInnermost + "</plist>"));
}

// Each of these ends the process when the library is left to read it.
TEST(PropertyListShape, DeepListsAreRefusedBeforeTheLibraryReadsThem)
{
    expectTooDeep(bytes(nestedXML(12'200, true)));
    expectTooDeep(bytes(nestedXML(200'000, false)));
    expectTooDeep(bytes("<plist version=\"1.0\">" + repeated("<array>", 175'000)));
    expectTooDeep(nestedBinary(29'100));
    expectTooDeep(nestedBinary(200'000));
}

TEST(PropertyListShape, TheXMLScanCountsOnlyTagsAReaderSees)
{
    const auto depth = [](const std::string& document) { return PropertyListXMLScan::depth(document, 1000); };
    EXPECT_EQ(depth("<plist><dict><key>a</key><array><true/><integer>1</integer></array></dict></plist>"), 4u);
    EXPECT_EQ(depth("<?xml version=\"1.0\"?><!DOCTYPE plist PUBLIC \"-//x//EN\" \"y.dtd\"><plist><array/></plist>"),
              1u);
    // Closing tags inside comments, CDATA, instructions, declarations and
    // attribute values close nothing for a reader, so they must not here.
    for (const char* hidden :
         {"<array><!-- </array> -->", "<array><![CDATA[</array>]]>", "<array><?x </array> ?>",
          "<array><!DOCTYPE x [ <!ENTITY e \"</array>\"> </array> ]>", "<array a=\"</array>\">",
          "<array b='>'><!x>"}) {
        EXPECT_EQ(depth(repeated(hidden, 300)), 300u) << hidden;
    }
    EXPECT_EQ(depth(repeated("</array>", 50) + repeated("<array>", 3)), 3u);
    EXPECT_EQ(depth(repeated("<array>", 5000)), 1001u);
}

TEST(PropertyListShape, BinaryListsAreReadAsTheyAreSharedButNotExpandedWithoutBound)
{
    // Written by Python's plistlib, which stores the text "x" once for its
    // three uses.
    const std::string hex = "62706c6973743030d301020304050655636f756e74546e616d655676616c75657311028c545761726da5070808"
                            "090a233fd0000000000000517809d10b08516b080f151a2124292f383a3b3e000000000000010100000000"
                            "0000000c00000000000000000000000000000040";
    Data written;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        written.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    const PropertyListValue expected = PropertyListValue::Dictionary{
        {"count", 652},
        {"name", "Warm"},
        {"values", PropertyListValue::Array{0.25, "x", "x", true, PropertyListValue::Dictionary{{"k", "x"}}}}};
    EXPECT_EQ(PropertyListSerialization::propertyList(written), expected);

    // Forty arrays, each holding the next twice: 2^41 values from 600 bytes.
    std::vector<std::vector<std::uint32_t>> doubling(40);
    for (std::uint32_t i = 0; i < doubling.size(); ++i) {
        doubling[i] = {i + 1, i + 1};
    }
    EXPECT_THROW(PropertyListSerialization::propertyList(binaryArrays(doubling)), PropertyListError);
    const auto shape = PropertyListBinaryScan::shape(binaryArrays({{1, 1}, {2, 2, 2}}), kLimit, 1000);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->depth, 2u);
    EXPECT_EQ(shape->values, 1u + 2 * (1 + 3));

    for (const auto& broken : std::vector<std::vector<std::vector<std::uint32_t>>>{
             {{0}}, {{1}, {0}}, {{7}}}) {
        EXPECT_FALSE(PropertyListBinaryScan::shape(binaryArrays(broken), kLimit, 1000));
        EXPECT_THROW(PropertyListSerialization::propertyList(binaryArrays(broken)), PropertyListError);
    }
    Data truncated = nestedBinary(3);
    truncated.erase(truncated.begin() + 10, truncated.begin() + 12);
    EXPECT_THROW(PropertyListSerialization::propertyList(truncated), PropertyListError);
}
