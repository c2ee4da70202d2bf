#include "../support/TemporaryFolder.h"

#include "FileManager.h"
#include "PresetFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using testing::ElementsAre;

namespace {

class PresetFolderTest : public testing::Test {
protected:
    void add(const std::string& name) { std::ofstream(folder.path() / name) << "x"; }

    TemporaryFolder folder;
    PresetFolder presets { folder.path() };
};

} // namespace

TEST(PresetFolderNames, ExtensionIsVelmoraInAnyCaseAndTheNameIsWhatPrecedesIt)
{
    EXPECT_EQ(PresetFolder::presetName("Warm Pad.velmora"), "Warm Pad");
    EXPECT_EQ(PresetFolder::presetName("a.b.velmora"), "a.b");
    EXPECT_EQ(PresetFolder::presetName("b.VELMORA"), "b");
    EXPECT_EQ(PresetFolder::presetName("x.VelMora"), "x");
    for (const char* other :
        { "notes.txt", "velmora", ".velmora", "..velmora", "...velmora", "x.velmorax", "x.velmor", "x.", "x.velmora." }) {
        EXPECT_EQ(PresetFolder::presetName(other), std::nullopt) << other;
    }
}

TEST_F(PresetFolderTest, EntriesAreNumberedInByteOrderAndEveryEntryCounts)
{
    for (const char* name : { "notes.txt", "b.VELMORA", "A.velmora", "_.velmora", "Zed.Velmora" }) {
        add(name);
    }
    std::filesystem::create_directory(folder.path() / "a folder");
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "dangling.velmora");

    const std::vector<AUAudioUnitPreset> expected { { 0, "A" }, { 1, "Zed" }, { 2, "_" }, { 4, "b" } };
    EXPECT_EQ(presets.presets(), expected);
    EXPECT_EQ(presets.presets(), expected);
}

TEST_F(PresetFolderTest, MissingOrUnlistableFolder)
{
    EXPECT_TRUE(presets.exists());
    const PresetFolder missing(folder.path() / "Presets");
    EXPECT_FALSE(missing.exists());
    EXPECT_THROW(missing.presets(), FileManagerError);
    add("Presets");
    EXPECT_TRUE(missing.exists());
    EXPECT_THROW(missing.presets(), FileManagerError);
    EXPECT_EQ(missing.fileFor("any"), std::nullopt);
}

TEST_F(PresetFolderTest, FileIsFoundByNameAsTheListingFindsIt)
{
    add("Exact.velmora");
    add("Exact.VELMORA");
    add("Upper.VELMORA");
    add("Mixed.VelMora");
    add("Mixed.velMORA");
    EXPECT_EQ(presets.fileFor("Exact"), folder.path() / "Exact.velmora");
    EXPECT_EQ(presets.fileFor("Upper"), folder.path() / "Upper.VELMORA");
    EXPECT_EQ(presets.fileFor("Mixed"), folder.path() / "Mixed.VelMora");
    EXPECT_EQ(presets.fileFor("exact"), std::nullopt);
    EXPECT_EQ(presets.fileFor("Missing"), std::nullopt);
}

TEST_F(PresetFolderTest, NamesThatCouldLeaveTheFolderAreRefused)
{
    std::filesystem::create_directory(folder.path() / "inner");
    const PresetFolder inner(folder.path() / "inner");
    add("outside.velmora");
    add(".velmora");
    add("...velmora");
    std::filesystem::create_directory(folder.path() / "inner" / "sub");
    std::ofstream(folder.path() / "inner" / "sub" / "deep.velmora") << "x";

    const std::vector<std::string> refused { "../outside", "sub/deep", "/etc/passwd", ".", "..", "", std::string("x\0y", 3) };
    for (const auto& name : refused) {
        EXPECT_EQ(inner.fileFor(name), std::nullopt) << name;
    }
    EXPECT_EQ(presets.fileFor(".."), std::nullopt);
    EXPECT_EQ(presets.fileFor(""), std::nullopt);
}
