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

std::string Text(const CString& s)
{
    return {s.Data(), static_cast<std::size_t>(s.Length())};
}

TEST(CString, CopiesAreDeepAndMovesTakeTheBytes)
{
    CString original("abc");
    CString copy(original);
    copy[0] = 'x';
    EXPECT_EQ(Text(original), "abc");
    EXPECT_EQ(Text(copy), "xbc");
    EXPECT_NE(original.Data(), copy.Data());

    const char* bytes = original.Data();
    CString moved(std::move(original));
    EXPECT_EQ(moved.Data(), bytes);
    EXPECT_TRUE(original.Empty());

    CString assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Data(), bytes);
    EXPECT_STREQ(moved.Data(), "(null*)");
}

TEST(CString, Assignments)
{
    CString s;
    EXPECT_EQ(s = "hello", 5);
    EXPECT_EQ(Text(s), "hello");
    char writable[] = "world";
    s = writable;
    EXPECT_EQ(Text(s), "world");
    s = 42;
    EXPECT_EQ(Text(s), "42");
    s = 2.5;
    EXPECT_EQ(Text(s), "2.500000");
    const char* none = nullptr;
    EXPECT_EQ(s = none, 0);
    EXPECT_TRUE(s.Empty());
    s = CString();
    EXPECT_TRUE(s.Empty());
}

TEST(CString, SelfAssignmentAndSelfAppendKeepTheContents)
{
    CString s("abc");
    CString& alias = s;
    s = alias;
    EXPECT_EQ(Text(s), "abc");
    s = s.Data();
    EXPECT_EQ(Text(s), "abc");
    s += s;
    EXPECT_EQ(Text(s), "abcabc");
    s -= s.SubStr(1, 1);
    EXPECT_EQ(Text(s), "acac");
}

TEST(CString, IndexingOutsideTheStringUsesAScratchByte)
{
    CString s("ab");
    s[1] = 'z';
    EXPECT_EQ(Text(s), "az");
    s[2] = 'q';
    s[-1] = 'q';
    EXPECT_EQ(Text(s), "az");
    EXPECT_EQ(s[5], 0);
    EXPECT_EQ(s.At(0), 'a');
    EXPECT_EQ(s.At(2), 0);
    EXPECT_EQ(s.At(-1), 0);
    EXPECT_EQ(s.First(), 'a');
    EXPECT_EQ(s.Last(), 'z');
    EXPECT_EQ(CString().Last(), 0);
    EXPECT_EQ(CString("\xE9").At(0), static_cast<signed char>(-23));
}

TEST(CString, ComparisonsUseTheTexts)
{
    const CString abc("abc"), abd("abd"), empty;
    EXPECT_TRUE(abc == "abc");
    EXPECT_TRUE(abc != "abd");
    EXPECT_TRUE(abc == CString("abc"));
    EXPECT_TRUE(abc != abd);
    EXPECT_TRUE(abc < abd);
    EXPECT_TRUE(abd > abc);
    EXPECT_TRUE(abc <= abc);
    EXPECT_TRUE(abc >= abc);
    EXPECT_FALSE(abd <= abc);
    EXPECT_TRUE(empty == "(null*)");
    EXPECT_TRUE(empty == static_cast<const char*>(nullptr));
    EXPECT_TRUE(empty != "");
}

TEST(CString, Appending)
{
    CString s("a");
    s += CString("b");
    s += "c";
    s += 'd';
    s += 7;
    s += 0.5;
    EXPECT_EQ(Text(s), "abcd70.500000");
    s += CString();
    s += static_cast<const char*>(nullptr);
    s += "";
    EXPECT_EQ(Text(s), "abcd70.500000");
    s += '\0';
    EXPECT_EQ(s.Length(), 14);
}

TEST(CString, Removing)
{
    CString s("abcabc");
    s -= "b";
    EXPECT_EQ(Text(s), "acac");
    s -= 1;
    EXPECT_EQ(Text(s), "aca");
    s -= 0;
    s -= -2;
    EXPECT_EQ(Text(s), "aca");
    s -= 3;
    EXPECT_TRUE(s.Empty());
    EXPECT_STREQ(s.Data(), "(null*)");
}

TEST(CString, TwoOperandResultsChain)
{
    const CString a("a"), b("b"), c("c");
    EXPECT_EQ(Text(a + b + c), "abc");
    EXPECT_EQ(Text(a + (b + c)), "abc");
    EXPECT_EQ(Text(a + "x" + 1 + 2.0), "ax12.000000");

    const CString kept = a + b;
    const CString& shared = c + c;
    EXPECT_EQ(Text(kept), "ab");
    EXPECT_EQ(Text(shared), "cc");
    EXPECT_NE(kept.Data(), shared.Data());
}

TEST(CString, TwoOperandOperatorsReturnTheOperandWhenThereIsNothingToDo)
{
    const CString a("abc");
    EXPECT_EQ(&(a + CString()), &a);
    EXPECT_EQ(&(a + ""), &a);
    EXPECT_EQ(&(a * 1), &a);
    EXPECT_EQ(&(a - 0), &a);
    EXPECT_EQ(&(a - static_cast<const char*>(nullptr)), &a);
}

TEST(CString, RepeatAndCut)
{
    const CString ab("ab"), hello("hello");
    EXPECT_EQ(Text(ab * 3), "ababab");
    EXPECT_TRUE((CString() * 3).Empty());
    EXPECT_TRUE((ab * INT_MAX).Empty());
    EXPECT_EQ(Text(hello - 2), "hel");
    EXPECT_TRUE((hello - 5).Empty());
    EXPECT_EQ(Text(hello - "l"), "heo");
    EXPECT_EQ(Text(hello), "hello");
}

TEST(CString, PrintsItselfRepeatedly)
{
    testing::internal::CaptureStdout();
    CString("ab") >> 3;
    CString() >> 2;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ababab");
}

TEST(CString, Find)
{
    const CString s("abcabc");
    EXPECT_EQ(s.Find("c", 0), 2);
    EXPECT_EQ(s.Find("c", 3), 5);
    EXPECT_EQ(s.Find("ca", -4), 2);
    EXPECT_EQ(s.Find("x", 0), -1);
    EXPECT_EQ(s.Find("a", 6), -1);
    EXPECT_EQ(s.Find("", 0), -1);
    EXPECT_EQ(s.Find(nullptr, 0), -1);
    EXPECT_EQ(CString().Find("a", 0), -1);
}

TEST(CString, Replace)
{
    CString s("abcabc");
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

    s = "bbb";
    EXPECT_TRUE(s.Replace("b", nullptr, 0, true));
    EXPECT_TRUE(s.Empty());

    s = "abc";
    EXPECT_FALSE(s.Replace("b", "b", 0, true));
    EXPECT_FALSE(s.Replace("x", "y", 0, true));
    EXPECT_FALSE(s.Replace(nullptr, "y", 0, true));
    EXPECT_FALSE(s.Replace("a", "y", 1, true));
    EXPECT_FALSE(CString().Replace("a", "b", 0, true));
    EXPECT_EQ(Text(s), "abc");
}

TEST(CString, InsertAndSubString)
{
    CString s("ac");
    EXPECT_TRUE(s.Insert(1, "b"));
    EXPECT_TRUE(s.Insert(0, ">"));
    EXPECT_EQ(Text(s), ">abc");
    EXPECT_FALSE(s.Insert(4, "<"));
    EXPECT_FALSE(s.Insert(-1, "<"));
    EXPECT_FALSE(s.Insert(1, ""));
    EXPECT_EQ(Text(s), ">abc");

    const CString hello("hello");
    EXPECT_STREQ(hello.SubStr(1, 3), "ell");
    EXPECT_STREQ(hello.SubStr(3, 10), "lo");
    EXPECT_EQ(hello.SubStr(5, 1), nullptr);
    EXPECT_EQ(hello.SubStr(-1, 1), nullptr);
    EXPECT_EQ(hello.SubStr(0, 0), nullptr);
}

TEST(CString, Trimming)
{
    CString s("  text \r\n");
    s.Trim();
    EXPECT_EQ(Text(s), "text");

    s = "\t a b \n";
    s.TrimLeft();
    EXPECT_EQ(Text(s), "a b \n");
    s.TrimRight();
    EXPECT_EQ(Text(s), "a b");

    s = " \r\n\t";
    s.Trim();
    EXPECT_TRUE(s.Empty());
}

TEST(CString, CaseChangesTouchOnlyAsciiLetters)
{
    CString s("aZ1-\xE9");
    s.Uppercase();
    EXPECT_EQ(Text(s), "AZ1-\xE9");
    s.Lowercase();
    EXPECT_EQ(Text(s), "az1-\xE9");
    s = "aB1";
    s.Revertcase();
    EXPECT_EQ(Text(s), "Ab1");
}

TEST(CString, NumberConversions)
{
    EXPECT_EQ(CString("42abc").Integer(), 42);
    EXPECT_EQ(CString(" -7").Integer(), -7);
    EXPECT_EQ(CString("99999999999").Integer(), INT_MAX);
    EXPECT_EQ(CString("ff").HexToInt(), 255);
    EXPECT_EQ(CString("0x1A").HexToInt(), 26);
    EXPECT_EQ(CString("2.5").Float(), 2.5f);
    EXPECT_EQ(CString("1e-3").Double(), 1e-3);
    EXPECT_EQ(CString().Integer(), 0);
    EXPECT_EQ(CString().HexToInt(), 0);
    EXPECT_EQ(CString().Float(), 0.0f);
    EXPECT_EQ(CString().Double(), 0.0);
    EXPECT_TRUE(CString("0").ToBool());
    EXPECT_FALSE(CString().ToBool());
}

TEST(CString, UnicodeWidensEachByte)
{
    const char32_t* wide = CString("A\xE9").Unicode();
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide[0], U'A');
    EXPECT_EQ(wide[1], U'\u00E9');
    EXPECT_EQ(wide[2], U'\0');
    EXPECT_EQ(CString().Unicode(), nullptr);
}

TEST(CString, EncodeTurnsTheBytesIntoHex)
{
    CString s("AB\xFF");
    s.Encode();
    EXPECT_EQ(Text(s), "4142FF");
    s.Decode();
    EXPECT_EQ(Text(s), "4142FF");
    CString none;
    none.Encode();
    EXPECT_TRUE(none.Empty());
}

TEST(CString, KeywordAndAsciiTests)
{
    EXPECT_TRUE(CString("abc1").IsKeyword());
    EXPECT_TRUE(CString("Z").IsKeyword());
    EXPECT_TRUE(CString().IsKeyword());
    EXPECT_FALSE(CString("1abc").IsKeyword());
    EXPECT_FALSE(CString("a_b").IsKeyword());
    EXPECT_FALSE(CString("a b").IsKeyword());
    EXPECT_TRUE(CString("plain text").IsASCII());
    EXPECT_FALSE(CString("caf\xC3\xA9").IsASCII());
    EXPECT_STREQ(CString("x").c_str(), "x");
    EXPECT_STREQ(CString("x").String(), "x");
}

TEST(CString, Reassign)
{
    CString s("abc");
    s.reassign(3);
    EXPECT_EQ(s.Length(), 3);
    EXPECT_EQ(s.At(0), 0);
    s.reassign(0);
    EXPECT_TRUE(s.Empty());
}

std::vector<std::string> Pieces(DUD::CStringList& list)
{
    std::vector<std::string> pieces;
    for (int i = 0; i < list.Count(); ++i)
        pieces.emplace_back(list.At(i));
    return pieces;
}

TEST(CString, SplitSkipsEmptyPieces)
{
    DUD::CStringList list;
    EXPECT_EQ(CString("a,,b,").Split(",", &list, 0, 0), 2);
    EXPECT_THAT(Pieces(list), testing::ElementsAre("a", "b"));

    EXPECT_EQ(CString("one--two--three").Split("--", &list, 0, 0), 3);
    EXPECT_THAT(Pieces(list), testing::ElementsAre("one", "two", "three"));

    EXPECT_EQ(CString("no separator").Split(";", &list, 0, 0), 1);
    EXPECT_THAT(Pieces(list), testing::ElementsAre("no separator"));
    EXPECT_EQ(list.At(1), nullptr);
}

TEST(CString, SplitStopsAtMaxAndAppendsFromALaterStart)
{
    DUD::CStringList list;
    const CString s("a b c d");
    EXPECT_EQ(s.Split(" ", &list, 2, 0), 2);
    EXPECT_THAT(Pieces(list), testing::ElementsAre("a", "b"));
    EXPECT_EQ(s.Split(" ", &list, 0, 4), 4);  // start 4 keeps what the list holds
    EXPECT_THAT(Pieces(list), testing::ElementsAre("a", "b", "c", "d"));
    EXPECT_EQ(s.Split(" ", &list, 0, 0), 4);  // start 0 empties it first
}

TEST(CString, SplitRefusesMissingArguments)
{
    DUD::CStringList list;
    list.Add("kept");
    EXPECT_EQ(CString("a,b").Split(nullptr, &list, 0, 0), -1);
    EXPECT_EQ(CString("a,b").Split(",", nullptr, 0, 0), -1);
    EXPECT_EQ(CString().Split(",", &list, 0, 0), -1);
    EXPECT_THAT(Pieces(list), testing::ElementsAre("kept"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
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
    const std::string onDisk{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(onDisk, Text(saved));
    EXPECT_EQ(Text(loaded), Text(saved));
    EXPECT_EQ(loaded.DataSize(), 260);
}

TEST_F(CStringFile, LoadingAnEmptyFileGivesAnEmptyString)
{
    std::ofstream(path).close();
    CString loaded("old");
    EXPECT_EQ(loaded << path.c_str(), 0);
    EXPECT_TRUE(loaded.Empty());
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
    EXPECT_EQ(s << static_cast<const char*>(nullptr), 0);
    EXPECT_EQ(s >> static_cast<const char*>(nullptr), 0);
    EXPECT_THAT(console.lines(), testing::ElementsAre(
        "\nERROR: File '" + missing + "' could not be opened for loading.",
        "\nError: String object is empty.",
        "\nERROR: File '" + missing + "' could not be opened for saving.",
        "\nERROR: While reading file."));
}

} // namespace
