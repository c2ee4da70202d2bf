#include "../support/TemporaryFolder.h"

#include "PresetFolder.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(PresetFolderTest, ExtensionIsVelmoraInAnyCaseAndTheNameIsWhatPrecedesIt)
{
    EXPECT_EQ(PresetFolder::presetName("a.b.velmora"), "a.b");
    EXPECT_EQ(PresetFolder::presetName("x.VelMora"), "x");
    for (const char* other : { "notes.txt", ".velmora", "..velmora", "x.velmorax", "x.velmora." }) {
        EXPECT_EQ(PresetFolder::presetName(other), std::nullopt) << other;
    }
}

TEST(PresetFolderTest, NamesThatCouldLeaveTheFolderAreRefused)
{
    TemporaryFolder folder;
    std::filesystem::create_directories(folder.path() / "inner" / "sub");
    for (const char* file : { "outside.velmora", "...velmora", "inner/sub/deep.velmora", "inner/In.VELMORA" }) {
        std::ofstream(folder.path() / file) << "x";
    }
    const PresetFolder inner(folder.path() / "inner");
    EXPECT_EQ(inner.fileFor("In"), folder.path() / "inner" / "In.VELMORA");
    for (const std::string name : { "../outside", "sub/deep", ".", "..", "" }) {
        EXPECT_EQ(inner.fileFor(name), std::nullopt) << name;
    }
    EXPECT_EQ(inner.fileFor(std::string("In\0x", 4)), std::nullopt);
    EXPECT_EQ(PresetFolder(folder.path()).fileFor(".."), std::nullopt);
}
