#include "CString.h"
#include "CStringList.h"
#include "Console.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using DUD::CString;
using testing::ElementsAre;

std::string Text(const CString& s)
{
    return {s.Data(), static_cast<std::size_t>(s.Length())};
}

TEST(CString, CopiesAreDeepMovesTakeTheBytesAndSelfAssignmentKeepsThem)
{
    CString original("abc");
    CString copy(original);
    copy[0] = 'x';
    copy[3] = 'q';  // outside: a scratch byte
    EXPECT_EQ(Text(original), "abc");
    EXPECT_EQ(Text(copy), "xbc");

    const char* bytes = original.Data();
    CString moved(std::move(original));
    CString assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Data(), bytes);
    EXPECT_STREQ(original.Data(), "(null*)");

    CString& alias = assigned;
    assigned = alias;
    assigned = assigned.Data();
    EXPECT_EQ(Text(assigned), "abc");
    assigned += assigned;
    EXPECT_EQ(Text(assigned), "abcabc");
    assigned -= assigned.SubStr(1, 1);  // a text inside the string itself
    EXPECT_EQ(Text(assigned), "acac");
}

TEST(CString, AppendingRemovingAndComparing)
{
    CString s("a");
    s += CString("b");
    s += "c";
    s += 'd';
    s += 7;
    s += 0.5;
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(Text(s), "abcd70.500000");
    s = "abcabc";
    s -= "b";
    s -= 1;
    EXPECT_EQ(Text(s), "aca");
    s -= 3;
    EXPECT_TRUE(s == static_cast<const char*>(nullptr));

    const CString abc("abc"), abd("abd");
    EXPECT_TRUE(abc == "abc" && abc != abd && abc < abd && abd > abc && abc <= abc);
    EXPECT_FALSE(abd <= abc);
}

TEST(CString, TwoOperandResultsChainRepeatAndCut)
{
    const CString a("a"), b("b"), c("c"), hello("hello");
    EXPECT_EQ(Text(a + b + c), "abc");
    EXPECT_EQ(Text(a + (b + c)), "abc");
    EXPECT_EQ(Text(a + "x" + 1 + 2.0), "ax12.000000");
    const CString kept = a + b;
    EXPECT_EQ(Text(c + c), "cc");
    EXPECT_EQ(Text(kept), "ab");
    EXPECT_EQ(&(a + ""), &a) << "with nothing to do the operand itself comes back";

    EXPECT_EQ(Text(kept * 3), "ababab");
    EXPECT_TRUE((kept * INT_MAX).Empty());
    EXPECT_EQ(Text(hello - 2), "hel");
    EXPECT_EQ(Text(hello - "l"), "heo");
    EXPECT_EQ(Text(hello), "hello");
}

TEST(CString, FindReplaceInsertAndSubString)
{
    CString s("abcabc");
    EXPECT_EQ(s.Find("c", 3), 5);
    EXPECT_EQ(s.Find("ca", -4), 2);
    EXPECT_EQ(s.Find("x", 0), -1);
    EXPECT_EQ(s.Find("", 0), -1);

    EXPECT_TRUE(s.Replace("b", "xy", 0, true));
    EXPECT_EQ(Text(s), "axycaxyc");
    s = "abcabc";
    EXPECT_TRUE(s.Replace("b", "xy", 0, false));
    EXPECT_EQ(Text(s), "axycabc");
    s = "abcabc";
    EXPECT_TRUE(s.Replace("b", "", 2, true));
    EXPECT_EQ(Text(s), "abcac");
    s = "aba";
    EXPECT_TRUE(s.Replace("a", "aa", 0, true));  // the search goes on after each replacement
    EXPECT_EQ(Text(s), "aabaa");
    s = "abc";
    EXPECT_FALSE(s.Replace("b", "b", 0, true));
    EXPECT_FALSE(s.Replace("a", "y", 1, true));
    EXPECT_EQ(Text(s), "abc");

    EXPECT_TRUE(s.Insert(0, ">"));
    EXPECT_FALSE(s.Insert(5, "<"));
    EXPECT_EQ(Text(s), ">abc");
    EXPECT_STREQ(s.SubStr(2, 10), "bc");
    EXPECT_EQ(s.SubStr(4, 1), nullptr);
}

TEST(CString, TrimmingCaseConversionsAndKeywords)
{
    CString s("  text \r\n");
    s.Trim();
    EXPECT_EQ(Text(s), "text");
    s = "\t a b \n";
    s.TrimLeft();
    EXPECT_EQ(Text(s), "a b \n");
    s.TrimRight();
    EXPECT_EQ(Text(s), "a b");

    s = "aZ1-\xE9";
    s.Uppercase();
    EXPECT_EQ(Text(s), "AZ1-\xE9");
    s.Lowercase();
    EXPECT_EQ(Text(s), "az1-\xE9");
    s = "aB1";
    s.Revertcase();
    EXPECT_EQ(Text(s), "Ab1");

    EXPECT_EQ(CString("42abc").Integer(), 42);
    EXPECT_EQ(CString("99999999999").Integer(), INT_MAX);
    EXPECT_EQ(CString("0x1A").HexToInt(), 26);
    EXPECT_EQ(CString("2.5").Float(), 2.5f);
    EXPECT_EQ(CString("1e-3").Double(), 1e-3);
    EXPECT_TRUE(CString("0").ToBool());
    EXPECT_FALSE(CString().ToBool());
    EXPECT_EQ(std::u32string(CString("A\xE9").Unicode()), U"A\u00E9");
    CString bytes("AB\xFF");
    bytes.Encode();
    EXPECT_EQ(Text(bytes), "4142FF");

    EXPECT_TRUE(CString("abc1").IsKeyword());
    EXPECT_FALSE(CString("1abc").IsKeyword());
    EXPECT_FALSE(CString("a_b").IsKeyword());
    EXPECT_TRUE(CString("plain text").IsASCII());
    EXPECT_FALSE(CString("caf\xC3\xA9").IsASCII());
}

std::vector<std::string> Pieces(DUD::CStringList& list)
{
    std::vector<std::string> pieces;
    for (int i = 0; i < list.Count(); ++i)
        pieces.emplace_back(list.At(i));
    return pieces;
}

TEST(CString, SplitSkipsEmptyPiecesStopsAtMaxAndAppendsFromALaterStart)
{
    DUD::CStringList list;
    EXPECT_EQ(CString("a,,b,").Split(",", &list, 0, 0), 2);
    EXPECT_THAT(Pieces(list), ElementsAre("a", "b"));
    EXPECT_EQ(CString("a,b").Split(nullptr, &list, 0, 0), -1);
    EXPECT_EQ(CString().Split(",", &list, 0, 0), -1);

    const CString s("a--b--c--d");
    EXPECT_EQ(s.Split("--", &list, 2, 0), 2);
    EXPECT_THAT(Pieces(list), ElementsAre("a", "b"));
    EXPECT_EQ(s.Split("--", &list, 0, 4), 4);  // start 4 keeps what the list holds
    EXPECT_THAT(Pieces(list), ElementsAre("a", "b", "c", "d"));
}

class CStringFile : public testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::path(testing::TempDir()) /
                 ("cstring_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(folder);
        path = (folder / "data.bin").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string path;
};

TEST_F(CStringFile, SaveAndLoadRoundTripEveryByte)
{
    CString saved;
    saved.reassign(256);
    for (int i = 0; i < 256; ++i)
        saved[i] = static_cast<char>(i);
    Console::Capture console;
    EXPECT_EQ(saved >> path.c_str(), 0);
    CString loaded("old contents");
    EXPECT_EQ(loaded << path.c_str(), 256);
    EXPECT_TRUE(console.lines().empty());
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), Text(saved));
    EXPECT_EQ(Text(loaded), Text(saved));
}

TEST_F(CStringFile, FailuresAreReported)
{
    const std::string missing = (folder / "missing" / "file").string();
    Console::Capture console;
    CString s("old");
    EXPECT_EQ(s << missing.c_str(), 0);
    EXPECT_TRUE(s.Empty());
    s >> path.c_str();
    EXPECT_FALSE(std::filesystem::exists(path));
    s = "text";
    s >> missing.c_str();
    EXPECT_EQ(s << folder.string().c_str(), 0);
    EXPECT_THAT(console.lines(), ElementsAre("\nERROR: File '" + missing + "' could not be opened for loading.",
                                             "\nError: String object is empty.",
                                             "\nERROR: File '" + missing + "' could not be opened for saving.",
                                             "\nERROR: While reading file."));
}

} // namespace
