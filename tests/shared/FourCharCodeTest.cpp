#include "FourCharCode.h"

#include <gtest/gtest.h>

namespace {

// Code points in a UTF-8 text (bytes that do not continue a character).
std::size_t characterCount(const std::string& text)
{
    std::size_t count = 0;
    for (const unsigned char byte : text) {
        count += (byte & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(FourCharCode, ComponentCodesReadBackAsText)
{
    EXPECT_EQ(stringValue(0x61756D66), "aumf");
    EXPECT_EQ(stringValue(0x5A554E4B), "ZUNK");
    EXPECT_EQ(stringValue(0x6B627277), "kbrw");
}

TEST(FourCharCode, ZeroGivesFourNulCharacters)
{
    EXPECT_EQ(stringValue(0), std::string(4, '\0'));
}

TEST(FourCharCode, HighBytesDecodeAsMacOSRoman)
{
    // 0x80 A-umlaut, 0xF0 the private-use logo U+F8FF, 0xA5 bullet, 0xDB euro
    // sign: Latin-1 would give U+0080, U+00F0, U+00A5, U+00DB instead.
    const std::string text = stringValue(0x80F0A5DB);
    EXPECT_EQ(text, "\xC3\x84"
                    "\xEF\xA3\xBF"
                    "\xE2\x80\xA2"
                    "\xE2\x82\xAC");
    EXPECT_EQ(characterCount(text), 4u);
    EXPECT_EQ(stringValue(0xCAFFD5C7), "\xC2\xA0"
                                       "\xCB\x87"
                                       "\xE2\x80\x99"
                                       "\xC2\xAB");
}

TEST(FourCharCode, EveryCodeGivesFourCharacters)
{
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        const std::uint32_t code = byte << 24 | (255 - byte) << 16 | byte << 8 | (byte ^ 0x5A);
        ASSERT_EQ(characterCount(stringValue(code)), 4u) << std::hex << code;
    }
}
