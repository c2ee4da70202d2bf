#include "../support/TemporaryFolder.h"

#include "FileManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_THROW(files.contents(path("missing")), FileManagerError);
    EXPECT_THROW(files.contents(path("large") + std::string("\0.png", 5)), FileManagerError);
}

// Each would be read until memory runs out, or wait for ever, if it were
// opened and read as a file.
TEST(FileManagerContents, OnlyRegularFilesUpToTheCapAreReadAndTheRefusalSaysWhy)
{
    TemporaryFolder folder;
    const auto path = [&](const char* name) { return (folder.path() / name).string(); };
    std::filesystem::create_symlink("/dev/zero", path("zero.velmora"));
    ASSERT_EQ(::mkfifo(path("pipe.velmora").c_str(), 0600), 0);
    std::ofstream(path("huge.velmora"));
    std::filesystem::resize_file(path("huge.velmora"), FileManager::kMaximumContentSize + 1);
    std::filesystem::create_directory(path("sub"));

    for (const auto& [name, reason] : std::vector<std::pair<const char*, std::string>> {
             { "zero.velmora", "it is a device, not a regular file" },
             { "pipe.velmora", "it is a pipe, not a regular file" },
             { "huge.velmora", "it holds 67108865 bytes, more than the 67108864 a file may hold to be read" },
             { "sub", "it is a folder, not a regular file" } }) {
        auto read = std::async(std::launch::async, [&, name = name] { return FileManager::default_().contents(path(name)); });
        if (read.wait_for(std::chrono::seconds(1)) == std::future_status::timeout) {
            // Lets a read stuck in opening the pipe go, so that the test can end.
            ::close(::open(path("pipe.velmora").c_str(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << name << " was not refused within a second";
            continue;
        }
        try {
            read.get();
            ADD_FAILURE() << name << " was read";
        } catch (const FileManagerError& error) {
            EXPECT_EQ(error.localizedDescription(), "The file '" + path(name) + "' could not be read: " + reason + ".");
        }
    }
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
