#include "CString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A string holding exactly the given bytes (NUL bytes included).
DUD::CString Bytes(std::initializer_list<unsigned char> bytes)
{
    DUD::CString s;
    s.reassign(static_cast<int>(bytes.size()));
    int i = 0;
    for (unsigned char byte : bytes)
        s[i++] = static_cast<char>(byte);
    return s;
}

TEST(CData, StorageIsLengthPlusTerminatorRoundedToFourBytes)
{
    const int sizes[][2] = {{-1, 0}, {0, 0}, {1, 4}, {3, 4}, {4, 8}, {7, 8}, {8, 12}};
    for (const auto& [bytes, storage] : sizes)
        EXPECT_EQ(DUD::CData::Padding(bytes), storage) << bytes;
    EXPECT_EQ(DUD::CString("abcd").DataSize(), 8);
    EXPECT_EQ(DUD::CData::CAlloc(0, 4), nullptr);
    EXPECT_EQ(DUD::CData::StrLen(nullptr), 0);
}

TEST(CData, DescribesItself)
{
    const DUD::CData data;
    const DUD::CString text;
    EXPECT_STREQ(data.ClassName(), "CData");
    EXPECT_STREQ(text.ClassName(), "CString");
    EXPECT_EQ(data.ObjectSize(), 32);

    const int strings = text.ClassCount();
    const int all = data.ClassCount();
    {
        const DUD::CString more("x");
        EXPECT_EQ(text.ClassCount(), strings + 1);
        EXPECT_EQ(data.ClassCount(), all + 1);
    }
    EXPECT_EQ(text.ClassCount(), strings);
    EXPECT_EQ(data.ClassCount(), all);
}

TEST(CData, HexTableHoldsEveryByteInUppercase)
{
    EXPECT_EQ(std::string(DUD::hextable.data()).size(), 512u);
    for (int byte = 0; byte < 256; ++byte) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", byte);
        EXPECT_EQ(std::string(&DUD::hextable[2 * byte], 2), expected) << byte;
    }
}

TEST(CData, EmptyRenderings)
{
    const DUD::CData data;
    EXPECT_STREQ(data.Hex2(), "00");
    EXPECT_STREQ(data.ColorRGB(), "#000000");
    EXPECT_STREQ(data.Hex3(), "00");
    EXPECT_STREQ(data.Hex4(), "#00");
    EXPECT_STREQ(data.Hex5(), "0x00");
    EXPECT_STREQ(data.String(), "0x00");
    EXPECT_STREQ(data.XML(2), "<CData>\n\tundefined</CData>");
}

TEST(CData, ByteRenderings)
{
    EXPECT_STREQ(Bytes({0x00, 0xFF}).Hex2(), "00FF");
    EXPECT_STREQ(Bytes({0x12, 0x34, 0x56}).ColorRGB(), "#123456");
    const DUD::CString ab("AB");
    EXPECT_STREQ(ab.Hex3(), "41 42");
    EXPECT_STREQ(ab.Hex4(), "#41 #42");
    EXPECT_STREQ(ab.Hex5(), "0x41 0x42");
    EXPECT_STREQ(Bytes({0x0A}).Hex5(), "0x0A");
    EXPECT_STREQ(ab.CData::String(), "0x41 0x42");
}

TEST(CData, XmlRenderingIndentsEveryLine)
{
    const DUD::CString ab("AB");
    // The element holds the object's own String(): a string's bytes.
    EXPECT_STREQ(ab.CData::XML(0), "<CData encoding='HEX5'>\n\tAB\n</CData>\n");
    EXPECT_STREQ(ab.CData::XML(2), "\t\t<CData encoding='HEX5'>\n\t\t\tAB\n\t\t</CData>\n");
    EXPECT_STREQ(ab.XML(1), "\t<CString encoding='UTF8'>\n\t\tAB\n\t</CString>\n");
    EXPECT_STREQ(DUD::CString().XML(1), "<CData>\n\tundefined</CData>");
    EXPECT_STREQ(ab.XML(-3), "<CString encoding='UTF8'>\n\tAB\n</CString>\n");
}

} // namespace
