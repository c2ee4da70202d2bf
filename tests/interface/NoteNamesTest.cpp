#include "NoteNames.h"

#include <gtest/gtest.h>

namespace {

TEST(NoteNamesTest, NamesCarryPitchAndOctaveFromMinusTwo)
{
    const NoteNames names;
    EXPECT_EQ(names.values[0], "C-2");
    EXPECT_EQ(names.values[1], "C#-2");
    EXPECT_EQ(names.values[11], "B-2");
    EXPECT_EQ(names.values[12], "C-1");
    EXPECT_EQ(names.values[24], "C0");
    EXPECT_EQ(names.values[60], "C3");
    EXPECT_EQ(names.values[69], "A3");
    EXPECT_EQ(names.values[70], "A#3");
    EXPECT_EQ(names.values[126], "F#8");
    EXPECT_EQ(names.values[127], "G8");
}

TEST(NoteNamesTest, KeyNumberIsFoundByExactName)
{
    const NoteNames names;
    EXPECT_EQ(names.getKeyNumber("C3"), 60);
    EXPECT_EQ(names.getKeyNumber("C-2"), 0);
    EXPECT_EQ(names.getKeyNumber("G8"), 127);
    for (const char* unknown : {"c3", "Db3", "", "C3 ", "G#8", "C-3"}) {
        EXPECT_EQ(names.getKeyNumber(unknown), -1) << unknown;
    }
}

TEST(NoteNamesTest, FiftyThreeBlackKeysAndNoneOutsideTheKeyboard)
{
    const NoteNames names;
    int black = 0;
    for (std::int64_t key = 0; key < 128; ++key) {
        const int pitch = static_cast<int>(key % 12);
        const bool expected = pitch == 1 || pitch == 3 || pitch == 6 || pitch == 8 || pitch == 10;
        EXPECT_EQ(names.isBlackKey(key), expected) << key;
        black += names.isBlackKey(key) ? 1 : 0;
    }
    EXPECT_EQ(black, 53);
    EXPECT_FALSE(names.isBlackKey(-1));
    EXPECT_FALSE(names.isBlackKey(128));
    EXPECT_FALSE(names.isBlackKey(INT64_MIN));
}

} // namespace
