#include "FourCharCode.h"

#include <gtest/gtest.h>

TEST(FourCharCode, CodesReadBackAsFourMacOSRomanCharacters)
{
    EXPECT_EQ(stringValue(0x61756D66), "aumf");
    EXPECT_EQ(stringValue(0x5A554E4B), "ZUNK");
    EXPECT_EQ(stringValue(0x6B627277), "kbrw");
    EXPECT_EQ(stringValue(0), std::string(4, '\0'));
    // 0x80 A-umlaut, 0xF0 the private-use logo U+F8FF, 0xA5 bullet, 0xDB euro
    // sign: Latin-1 would give U+0080, U+00F0, U+00A5, U+00DB instead.
    EXPECT_EQ(stringValue(0x80F0A5DB), "\xC3\x84\xEF\xA3\xBF\xE2\x80\xA2\xE2\x82\xAC");
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        const std::uint32_t code = byte << 24 | (255 - byte) << 16 | byte << 8 | (byte ^ 0x5A);
        std::size_t characters = 0;
        for (const unsigned char unit : stringValue(code))
            characters += (unit & 0xC0) != 0x80;
        ASSERT_EQ(characters, 4u) << std::hex << code;
    }
}
