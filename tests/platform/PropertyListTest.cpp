#include "PropertyListSerialization.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

Data bytes(const std::string& text)
{
    return Data(text.begin(), text.end());
}

std::string text(const Data& data)
{
    return std::string(data.begin(), data.end());
}

PropertyListValue everyType()
{
    PropertyListValue::Dictionary nested{{"inner", PropertyListValue::Array{1, "two", 3.5}}};
    return PropertyListValue::Dictionary{
        {"yes", true},
        {"no", false},
        {"zero", 0},
        {"negative", std::int64_t{-1234567890123}},
        {"largest", std::numeric_limits<std::int64_t>::max()},
        {"smallest", std::numeric_limits<std::int64_t>::min()},
        {"third", 1.0 / 3.0},
        {"tiny", 1e-300},
        {"narrowed", 0.1f},
        {"text", "a<b & \"c\" > d \xC3\xA9"},
        {"empty text", ""},
        {"bytes", Data{0, 1, 2, 0xFF}},
        {"no bytes", Data{}},
        {"list", PropertyListValue::Array{}},
        {"a<key>&", nested},
        {"empty", PropertyListValue::Dictionary{}},
    };
}

} // namespace

TEST(PropertyList, EveryTypeRoundTripsThroughXML)
{
    const auto value = everyType();
    const Data xml = PropertyListSerialization::data(value);
    const std::string document = text(xml);
    EXPECT_NE(document.find("<plist version=\"1.0\">"), std::string::npos);
    EXPECT_NE(document.find("<integer>-1234567890123</integer>"), std::string::npos);
    EXPECT_NE(document.find("<true/>"), std::string::npos);
    EXPECT_NE(document.find("<data>"), std::string::npos);
    EXPECT_EQ(PropertyListSerialization::propertyList(xml), value);
}

TEST(PropertyList, ReadsAHandWrittenDocument)
{
    const auto value = PropertyListSerialization::propertyList(bytes(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<plist version=\"1.0\"><dict>"
        "<key>name</key><string>Preset 1</string>"
        "<key>value</key><real>0.25</real>"
        "<key>count</key><integer>652</integer>"
        "<key>data</key><data>AAEC</data>"
        "</dict></plist>"));
    const PropertyListValue expected = PropertyListValue::Dictionary{
        {"name", "Preset 1"}, {"value", 0.25}, {"count", 652}, {"data", Data{0, 1, 2}}};
    EXPECT_EQ(value, expected);
}

TEST(PropertyList, ScalarRootsRoundTrip)
{
    for (const PropertyListValue& value :
         {PropertyListValue("only text"), PropertyListValue(42), PropertyListValue(true)}) {
        EXPECT_EQ(PropertyListSerialization::propertyList(PropertyListSerialization::data(value)), value);
    }
}

TEST(PropertyList, MalformedContentGivesAnError)
{
    const std::string whole = text(PropertyListSerialization::data(everyType()));
    for (const std::string& content :
         {std::string(), std::string("garbage"), whole.substr(0, whole.size() / 2),
          std::string("<plist><array><string>a</string>"), std::string("\x00\x01\x02", 3),
          std::string("bplist00")}) {
        EXPECT_THROW(PropertyListSerialization::propertyList(bytes(content)), PropertyListError)
            << content;
    }
}

TEST(PropertyList, UnsupportedContentGivesAnError)
{
    EXPECT_THROW(PropertyListSerialization::propertyList(
                     bytes("<plist version=\"1.0\"><date>2024-01-01T00:00:00Z</date></plist>")),
                 PropertyListError);
    EXPECT_THROW(PropertyListSerialization::data(std::string("nul\0inside", 10)), PropertyListError);
    // Written as references, it would be refused when read.
    EXPECT_THROW(PropertyListSerialization::data(std::string(200'000, '&')), PropertyListError);
    EXPECT_THROW(PropertyListSerialization::data(
                     PropertyListValue::Dictionary{{std::string("k\0", 2), 1}}),
                 PropertyListError);
}

