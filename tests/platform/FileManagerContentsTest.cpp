#include "../support/TemporaryFolder.h"

#include "FileManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using testing::UnorderedElementsAre;

namespace {

Data bytes(const std::string& text) { return Data(text.begin(), text.end()); }

} // namespace

TEST(FileManagerContents, ListsEveryEntryByNameAndRefusesWhatIsNoFolder)
{
    TemporaryFolder folder;
    std::ofstream(folder.path() / "a.velmora") << "x";
    std::ofstream(folder.path() / ".hidden") << "x";
    std::filesystem::create_directory(folder.path() / "sub");
    const auto& files = FileManager::default_();

    EXPECT_THAT(files.contentsOfDirectory(folder.path().string()), UnorderedElementsAre("a.velmora", ".hidden", "sub"));
    EXPECT_TRUE(files.contentsOfDirectory((folder.path() / "sub").string()).empty());
    EXPECT_THROW(files.contentsOfDirectory((folder.path() / "missing").string()), FileManagerError);
    EXPECT_THROW(files.contentsOfDirectory((folder.path() / "a.velmora").string()), FileManagerError);
}

TEST(FileManagerContents, ReadsWholeFilesAndNothingElse)
{
    TemporaryFolder folder;
    std::string large(200000, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7);
    }
    std::ofstream(folder.path() / "large", std::ios::binary) << large;
    std::ofstream(folder.path() / "empty");
    const auto& files = FileManager::default_();

    EXPECT_EQ(files.contents((folder.path() / "large").string()), bytes(large));
    EXPECT_EQ(files.contents((folder.path() / "empty").string()), Data());
    EXPECT_EQ(files.contents(folder.path().string()), std::nullopt);
    EXPECT_EQ(files.contents((folder.path() / "missing").string()), std::nullopt);
}

TEST(FileManagerContents, WriteReplacesTheWholeFileAndLeavesNothingBeside)
{
    TemporaryFolder folder;
    const auto target = folder.path() / "preset.velmora";
    const auto& files = FileManager::default_();
    std::ofstream(target) << "an old and longer content";

    files.write(bytes("new"), URL::fileURL(target));

    EXPECT_EQ(files.contents(target.string()), bytes("new"));
    EXPECT_THAT(files.contentsOfDirectory(folder.path().string()), UnorderedElementsAre("preset.velmora"));
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST(FileManagerContents, FailedWriteThrowsAndKeepsTheOldFile)
{
    TemporaryFolder folder;
    const auto& files = FileManager::default_();
    EXPECT_THROW(files.write(bytes("x"), URL::fileURL(folder.path() / "missing" / "file")), FileManagerError);

    const auto directory = folder.path() / "taken";
    std::filesystem::create_directory(directory);
    std::ofstream(directory / "inside") << "kept";
    EXPECT_THROW(files.write(bytes("x"), URL::fileURL(directory)), FileManagerError);
    EXPECT_EQ(files.contents((directory / "inside").string()), bytes("kept"));
    EXPECT_THAT(files.contentsOfDirectory(folder.path().string()), UnorderedElementsAre("taken"));
}
