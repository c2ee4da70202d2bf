#include "CString.h"
#include "DUD.h"

#include <gtest/gtest.h>

#include <cstdio>
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
}

TEST(CData, HexColourAndXmlRenderings)
{
    for (int byte = 0; byte < 256; ++byte) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", byte);
        ASSERT_EQ(std::string(&DUD::hextable[2 * byte], 2), expected) << byte;
    }
    const DUD::CData empty;
    EXPECT_STREQ(empty.ColorRGB(), "#000000");
    EXPECT_STREQ(empty.Hex4(), "#00");
    EXPECT_STREQ(empty.String(), "0x00");
    EXPECT_STREQ(empty.XML(2), "<CData>\n\tundefined</CData>");

    EXPECT_STREQ(Bytes({0x00, 0xFF}).Hex2(), "00FF");
    EXPECT_STREQ(Bytes({0x12, 0x34, 0x56}).ColorRGB(), "#123456");
    const DUD::CString ab("AB");
    EXPECT_STREQ(ab.Hex3(), "41 42");
    EXPECT_STREQ(ab.Hex4(), "#41 #42");
    EXPECT_STREQ(ab.CData::String(), "0x41 0x42");
    EXPECT_STREQ(Bytes({0x0A}).Hex5(), "0x0A");

    // The element holds the object's own String(): a string's bytes.
    EXPECT_STREQ(ab.CData::XML(2), "\t\t<CData encoding='HEX5'>\n\t\t\tAB\n\t\t</CData>\n");
    EXPECT_STREQ(ab.XML(1), "\t<CString encoding='UTF8'>\n\t\tAB\n\t</CString>\n");
    EXPECT_STREQ(ab.XML(-3), "<CString encoding='UTF8'>\n\tAB\n</CString>\n");
}

TEST(CPrinTable, NamesEveryAsciiCode)
{
    const DUD::CPrinTable& table = DUD::PrinTable;
    const std::pair<int, const char*> controls[] = {{0, "<NUL>"}, {7, "<BEL>"}, {9, "\t"},   {10, "\n"},
                                                    {13, "\r"},   {14, "<SO>"}, {31, "<US>"}, {127, "<DEL>"}};
    for (const auto& [code, name] : controls)
        EXPECT_STREQ(table[code], name) << code;
    for (int code = 32; code < 127; ++code)
        EXPECT_EQ(std::string(table[code]), std::string(1, static_cast<char>(code))) << code;
    EXPECT_EQ(table[-1], nullptr);
    EXPECT_EQ(table[128], nullptr);
    EXPECT_TRUE(DUD::empty == " ");
}

} // namespace
