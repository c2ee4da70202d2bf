#include "DUD.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CPrinTable, NamesEveryAsciiCode)
{
    const DUD::CPrinTable& table = DUD::PrinTable;
    EXPECT_STREQ(table[0], "<NUL>");
    EXPECT_STREQ(table[7], "<BEL>");
    EXPECT_STREQ(table[8], "<BS>");
    EXPECT_STREQ(table[9], "\t");
    EXPECT_STREQ(table[10], "\n");
    EXPECT_STREQ(table[11], "<VT>");
    EXPECT_STREQ(table[12], "<FF>");
    EXPECT_STREQ(table[13], "\r");
    EXPECT_STREQ(table[14], "<SO>");
    EXPECT_STREQ(table[27], "<ESC>");
    EXPECT_STREQ(table[31], "<US>");
    EXPECT_STREQ(table[127], "<DEL>");
    for (int code = 32; code < 127; ++code)
        EXPECT_EQ(std::string(table[code]), std::string(1, static_cast<char>(code))) << code;
    for (int code = 0; code < 32; ++code) {
        const std::string name = table[code];
        const bool itself = code == 9 || code == 10 || code == 13;
        EXPECT_TRUE(itself ? name.size() == 1 : name.front() == '<' && name.back() == '>') << code;
    }
    EXPECT_EQ(table[-1], nullptr);
    EXPECT_EQ(table[128], nullptr);
}

TEST(DUDLibrary, SharedObjects)
{
    EXPECT_TRUE(DUD::invalid == "null");
    EXPECT_EQ(DUD::empty.Length(), 1);
    EXPECT_TRUE(DUD::empty == " ");
}

} // namespace
