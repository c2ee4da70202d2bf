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

TEST(FileManagerContents, ListsAndReadsWhatIsThereAndNothingElse)
{
    TemporaryFolder folder;
    std::string large(200000, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7);
    }
    std::ofstream(folder.path() / "large", std::ios::binary) << large;
    std::ofstream(folder.path() / ".hidden");
    std::filesystem::create_directory(folder.path() / "sub");
    const auto& files = FileManager::default_();
    const auto path = [&](const char* name) { return (folder.path() / name).string(); };

    EXPECT_THAT(files.contentsOfDirectory(folder.path().string()), UnorderedElementsAre("large", ".hidden", "sub"));
    EXPECT_THROW(files.contentsOfDirectory(path("missing")), FileManagerError);
    EXPECT_THROW(files.contentsOfDirectory(path("large")), FileManagerError);
    EXPECT_EQ(files.contents(path("large")), bytes(large));
    EXPECT_EQ(files.contents(path(".hidden")), Data());
    EXPECT_EQ(files.contents(path("sub")), std::nullopt);
    EXPECT_EQ(files.contents(path("missing")), std::nullopt);
    EXPECT_EQ(files.contents(path("large") + std::string("\0.png", 5)), std::nullopt);
}

TEST(FileManagerContents, WriteReplacesTheWholeFileOrNothing)
{
    TemporaryFolder folder;
    const auto target = folder.path() / "preset.velmora";
    const auto& files = FileManager::default_();
    std::ofstream(target) << "an old and longer content";
    files.write(bytes("new"), URL::fileURL(target));
    EXPECT_EQ(files.contents(target.string()), bytes("new"));
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);

    EXPECT_THROW(files.write(bytes("x"), URL::fileURL(folder.path() / "missing" / "file")), FileManagerError);
    const auto taken = folder.path() / "taken";
    std::filesystem::create_directory(taken);
    std::ofstream(taken / "inside") << "kept";
    EXPECT_THROW(files.write(bytes("x"), URL::fileURL(taken)), FileManagerError);
    EXPECT_EQ(files.contents((taken / "inside").string()), bytes("kept"));
    EXPECT_THAT(files.contentsOfDirectory(folder.path().string()), UnorderedElementsAre("preset.velmora", "taken"));
}
