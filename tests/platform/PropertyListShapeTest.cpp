#include "../support/DeepPropertyLists.h"

#include "PropertyListBinaryScan.h"
#include "PropertyListSerialization.h"
#include "PropertyListXMLScan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

using testing::HasSubstr;

namespace {

constexpr std::size_t kLimit = PropertyListSerialization::kMaximumDepth;
constexpr PropertyListShape kLimits { kLimit, 1000, 1000, 1000, 1000 };

std::optional<std::size_t> scannedDepth(const std::string& document)
{
    const auto shape = PropertyListXMLScan::shape(document, {1000, 1 << 20, 1 << 20, 1 << 30, 1 << 30});
    return shape ? std::optional(shape->depth) : std::nullopt;
}

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

std::size_t treeDepth(plist_t node)
{
    std::size_t deepest = 0;
    const auto type = plist_get_node_type(node);
    if (type == PLIST_ARRAY) {
        for (std::uint32_t i = 0; i < plist_array_get_size(node); ++i) {
            deepest = std::max(deepest, treeDepth(plist_array_get_item(node, i)));
        }
    } else if (type == PLIST_DICT) {
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (plist_t item = nullptr;; item = nullptr) {
            char* key = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            std::free(key);
            if (item == nullptr) {
                break;
            }
            deepest = std::max(deepest, treeDepth(item));
        }
        std::free(iterator);
    } else {
        return 0;
    }
    return deepest + 1;
}

// The depth of what the library's reader builds from the document; none when
// it refuses the document.
std::optional<std::size_t> readerDepth(const std::string& document)
{
    plist_t root = nullptr;
    plist_from_memory(document.data(), static_cast<std::uint32_t>(document.size()), &root);
    if (root == nullptr) {
        return std::nullopt;
    }
    const auto depth = treeDepth(root);
    plist_free(root);
    return depth;
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

// Each of these ended the process: the scan skipped the arrays that the
// reader went on to build.
TEST(PropertyListShape, DeepListsBehindMarkupTheReaderSplitsDifferentlyAreRefused)
{
    for (const auto& document : disguisedNestedXML(200'000)) {
        expectTooDeep(bytes(document));
    }
    const std::string arrays = repeated("<array>", 200'000);
    for (const char* before :
         {"<plist><array a=\"'\" b='>", "<!DOCTYPE plist [ <!ENTITY e \"]>'\"> ]><plist>",
          "<!DOCTYPE plist [ \"'\" ]><plist>", "<?x \"?>\"?><plist>", "<plist><array><string><![CDATA[<]]></string>"}) {
        expectTooDeep(bytes(before + arrays));
    }
    EXPECT_THROW(PropertyListSerialization::propertyList(bytes("<plist><array\0>" + arrays)), PropertyListError);
}

TEST(PropertyListShape, TheXMLScanCountsContainersAsTheReaderNestsThem)
{
    const std::vector<std::pair<std::string, std::optional<std::size_t>>> cases {
        {"<plist><dict><key>a</key><array><true/><integer>1</integer></array></dict></plist>", 2},
        {"<?xml version=\"1.0\"?><!DOCTYPE plist PUBLIC \"-//x//EN\" \"y.dtd\"><plist><array/></plist>", 1},
        // Only double quotes hide markup, in tags, declarations and instructions.
        {"<plist><array x='></array></plist>", 1},
        {"<plist><array a=\"</array>\" b=\"<\"><array/></array></plist>", 2},
        {"<!DOCTYPE plist \"[\"><plist><array><array/></array></plist>", 2},
        {"<!DOCTYPE plist [ <!ENTITY e \"]>\"> ]><plist><array><array/></array></plist>", 2},
        {"<?x \"?>\" ?><plist><array><!-- </array> --><array/></array></plist>", 2},
        // CDATA and comments only inside a value's text.
        {"<plist><array><string>a<!-- <array> --><![CDATA[</string><array>]]></string><array/></array></plist>", 2},
        {"<plist><array><![CDATA[x]]><array/></array></plist>", std::nullopt},
        // The top container holds what follows even when it closes itself;
        // reading ends when it closes, or at once when the top is no container.
        {"<plist><array/><array><array></array></array></plist>", 3},
        {"<plist><array></array><array><array>", 1},
        {"<plist><string>x</string><array><array>", 0},
        {"<plist><array></dict></plist>", std::nullopt},
        {"<plist><array b='>'><true/></array></plist>", std::nullopt},
    };
    for (const auto& [document, depth] : cases) {
        EXPECT_EQ(scannedDepth(document), depth) << document;
        EXPECT_EQ(readerDepth(document), depth) << document;
    }
    // A NUL byte shortens a name for the reader, and a text it aborts over.
    const std::string nul = std::string("<plist><array\0x></array></plist>", 32);
    EXPECT_EQ(readerDepth(nul), 1u);
    for (const auto& document : {nul, std::string("<plist><array><string>A\0</string></array></plist>", 49),
                                 std::string("<plist><array><key><![CDATA[\0]]></key></array></plist>", 54)}) {
        EXPECT_EQ(scannedDepth(document), std::nullopt);
    }
    EXPECT_EQ(scannedDepth(repeated("<array>", 5000)), 1001u);
}

TEST(PropertyListShape, TheXMLScanAgreesWithTheReaderOnRandomMarkup)
{
    const std::vector<std::string> pieces {"<plist>", "</plist>", "<plist/>", "<array>", "</array>", "<array/>",
        "<dict>", "</dict>", "<dict/>", "<key>k</key>", "<string>s</string>", "<true/>", "<integer>1</integer>",
        "<string>", "</string>", "<key>", "</key>", "<true>", "</true>", "</array ", "<array x=\"", "<array x='",
        "<dict ", "<", ">", "/", "\"", "'", "[", "]", "]>", "?", "!", "-", "x", " ", "\n", "<!--", "-->",
        "<![CDATA[", "]]>", "<?", "?>", "<!", "<!DOCTYPE x", "<!DOCTYPE x \"[\">", "<!DOCTYPE x [", "<?x \"?>\"?>"};
    std::mt19937 random(7);
    std::size_t read = 0;
    for (int trial = 0; trial < 20'000; ++trial) {
        std::string document;
        for (int piece = std::uniform_int_distribution(1, 30)(random); piece > 0; --piece) {
            document += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        if (const auto depth = readerDepth(document)) {
            ++read;
            ASSERT_EQ(scannedDepth(document), depth) << document;
        }
    }
    EXPECT_GT(read, 2000u);
}

TEST(PropertyListShape, BinaryTextsHoldingNulAreRefusedAndOthersRead)
{
    for (const auto& list : binaryTextsWithNul()) {
        EXPECT_FALSE(PropertyListBinaryScan::shape(list, kLimits));
        EXPECT_THROW(PropertyListSerialization::propertyList(list), PropertyListError);
    }
    // "é☃" in UTF-16, as a key and as a value.
    const Data text{0x62, 0x00, 0xE9, 0x26, 0x03};
    const PropertyListValue expected = PropertyListValue::Dictionary{{"\xC3\xA9\xE2\x98\x83", "\xC3\xA9\xE2\x98\x83"}};
    EXPECT_EQ(PropertyListSerialization::propertyList(binaryObjects({{0xD1, 0x01, 0x01}, text})), expected);
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
    const auto shape = PropertyListBinaryScan::shape(binaryArrays({{1, 1}, {2, 2, 2}}), kLimits);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->depth, 2u);
    EXPECT_EQ(shape->values, 1u + 2 * (1 + 3));

    for (const auto& broken : std::vector<std::vector<std::vector<std::uint32_t>>>{
             {{0}}, {{1}, {0}}, {{7}}}) {
        EXPECT_FALSE(PropertyListBinaryScan::shape(binaryArrays(broken), kLimits));
        EXPECT_THROW(PropertyListSerialization::propertyList(binaryArrays(broken)), PropertyListError);
    }
    Data truncated = nestedBinary(3);
    truncated.erase(truncated.begin() + 10, truncated.begin() + 12);
    EXPECT_THROW(PropertyListSerialization::propertyList(truncated), PropertyListError);
}

TEST(PropertyListShape, ValuesAndBytesCountWhereverASharedObjectIsUsedAndStopPastTheirLimit)
{
    // "abc" twice, "é☃" in UTF-16 (five bytes in UTF-8) and four bytes of data.
    const Data list = binaryObjects({{0xA4, 1, 1, 2, 3}, binaryText("abc"), {0x62, 0x00, 0xE9, 0x26, 0x03},
                                     {0x44, 1, 2, 3, 4}});
    const auto shape = PropertyListBinaryScan::shape(list, kLimits);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->values, 5u);
    EXPECT_EQ(shape->bytes, 2 * 3 + 5 + 4u);
    EXPECT_EQ(PropertyListBinaryScan::shape(binaryObjects({binaryArrayOf(1, 5000), {0x09}}), kLimits)->values, 1001u);
    EXPECT_EQ(PropertyListBinaryScan::shape(binaryObjects({binaryArrayOf(1, 400), binaryText("abc")}), kLimits)->bytes,
              1001u);
    // Between them the arrays still open pass the limit before the walk comes
    // to the reference past the table that ends the inner one.
    Data outer = binaryArrayOf(2, 601);
    outer.back() = 1;
    Data inner = binaryArrayOf(2, 601);
    inner.back() = 9;
    const auto open = PropertyListBinaryScan::shape(binaryObjects({outer, inner, {0x09}}), kLimits);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->values, 1001u);

    const auto xml = PropertyListXMLScan::shape(
        "<plist><dict><key>ab</key><string>c&amp;</string><key>d</key><data>AAEC</data></dict></plist>", kLimits);
    ASSERT_TRUE(xml);
    EXPECT_EQ(xml->values, 5u);
    EXPECT_GE(xml->bytes, 2 + 2 + 1 + 3u);
    const auto keys = [](std::size_t count) { return repeated("<key>k</key><true/>", count); };
    const auto search = [&](const std::string& dictionaries) {
        return PropertyListXMLScan::shape("<plist><array>" + dictionaries + "</array></plist>", kLimits)->keySearch;
    };
    // Each key is looked for among those of its own dictionary only.
    const std::string twoDictionaries = "<dict>" + keys(2) + "</dict><dict>" + keys(2) + "</dict>";
    EXPECT_EQ(search("<dict>" + keys(4) + "</dict>"), 3 * search(twoDictionaries));
    EXPECT_EQ(search("<dict>" + keys(10) + "</dict>"), 1001u);
}

TEST(PropertyListShape, TheXMLScanCountsWhatTheReaderBuildsAndMovesInsideValueTexts)
{
    const auto shape = [](const std::string& values) {
        return PropertyListXMLScan::shape("<plist><array>" + values + "</array></plist>", kLimits);
    };
    // Each "&" of a key or text moves the rest of its stretch of text, which
    // a comment or CDATA section ends.
    EXPECT_EQ(shape("<string>&lt;&lt;ab</string>")->referenceMoves, 10u + 6);
    EXPECT_EQ(shape("<dict><key>&amp;xy<!---->&lt;</key><true/></dict>")->referenceMoves, 7u + 4);
    EXPECT_EQ(shape("<integer>&#49;</integer><data>&lt;</data><string><![CDATA[&lt;]]></string>")->referenceMoves, 0u);
    EXPECT_EQ(shape("<string>" + repeated("&lt;", 100) + "</string>")->referenceMoves, 1001u);
    // Each comment and CDATA section inside a value is a node of its own.
    EXPECT_EQ(shape("<integer>1<!---->2<![CDATA[3]]></integer><string>a<!-- b --></string>")->values, 1u + 3 + 2);
    EXPECT_EQ(shape("<real>1" + repeated("<!---->1", 2000) + "</real>")->values, 1001u);
    // Read, the first would take the reader a second, the second a node of
    // about 50 bytes for each comment.
    for (const auto& document : {"<plist><string>" + repeated("&lt;", 200'000) + "</string></plist>",
                                 "<plist><integer>1" + repeated("<!---->", 200'000) + "</integer></plist>"}) {
        EXPECT_THROW(PropertyListSerialization::propertyList(bytes(document)), PropertyListError);
    }
}
