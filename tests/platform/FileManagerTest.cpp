#include "../support/TemporaryFolder.h"
#include "Bundle.h"
#include "FileManager.h"
#include "ProcessInfo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <unistd.h>

TEST(FileManager, DocumentsLiveInTheProgramsContainerUnderDataHome)
{
    TemporaryFolder home;
    ScopedEnvironment dataHome("XDG_DATA_HOME", (home.path() / "data").string());
    const auto urls = FileManager::default_().urls(SearchPathDirectory::documentDirectory,
                                                   SearchPathDomainMask::userDomainMask);
    ASSERT_EQ(urls.size(), 1u);
    const auto expected = home.path() / "data" / "platform_tests" / "Documents";
    EXPECT_EQ(urls[0].path(), expected.string());
    EXPECT_TRUE(std::filesystem::is_directory(expected));
}

TEST(FileManager, DataHomeFallsBackToHomeAndIgnoresRelativeSettings)
{
    TemporaryFolder home;
    ScopedEnvironment homeVariable("HOME", home.path().string());
    ScopedEnvironment dataHome("XDG_DATA_HOME", "relative/data");
    const auto urls = FileManager::default_().urls(SearchPathDirectory::documentDirectory,
                                                   SearchPathDomainMask::userDomainMask);
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0].path(),
              (home.path() / ".local/share/platform_tests/Documents").string());

    ScopedEnvironment noHome("HOME", "");
    EXPECT_TRUE(FileManager::default_()
                    .urls(SearchPathDirectory::documentDirectory, SearchPathDomainMask::userDomainMask)
                    .empty());
}

TEST(FileManager, CreatesDirectoriesOrExplainsWhyNot)
{
    TemporaryFolder folder;
    const auto& files = FileManager::default_();
    const auto nested = folder.path() / "a" / "b";
    files.createDirectory(URL::fileURL(nested), true);
    bool isDirectory = false;
    EXPECT_TRUE(files.fileExists(nested.string(), isDirectory));
    EXPECT_TRUE(isDirectory);

    EXPECT_THROW(files.createDirectory(URL::fileURL(folder.path() / "x" / "y"), false),
                 FileManagerError);
    EXPECT_THROW(files.createDirectory(URL::fileURL(nested), false), FileManagerError);

    const auto file = folder.path() / "plain";
    std::ofstream(file) << "x";
    EXPECT_TRUE(files.fileExists(file.string(), isDirectory));
    EXPECT_FALSE(isDirectory);
    try {
        files.createDirectory(URL::fileURL(file / "sub"), true);
        FAIL() << "creating below a file succeeded";
    } catch (const FileManagerError& error) {
        EXPECT_NE(error.localizedDescription().find((file / "sub").string()), std::string::npos);
    }
    EXPECT_FALSE(files.fileExists((folder.path() / "none").string()));
}

TEST(Bundle, FindsItsResourcesBesideTheExecutable)
{
    const auto& bundle = Bundle::main();
    EXPECT_EQ(bundle.bundleName(), "platform_tests");
    EXPECT_EQ(bundle.displayName(), "platform tests");
    const auto resources = bundle.resourceURL();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->lastPathComponent(), "Resources");
    EXPECT_EQ(std::filesystem::path(resources->path()).parent_path(),
              std::filesystem::path(bundle.bundleURL().path()));
    const auto sample = bundle.url("sample", "txt");
    ASSERT_TRUE(sample);
    EXPECT_TRUE(std::filesystem::is_regular_file(sample->path()));
    EXPECT_FALSE(bundle.url("sample", "png"));
    EXPECT_TRUE(bundle.url("sample.txt", ""));
}

TEST(ProcessInfo, GloballyUniqueStringsDifferOnEveryCallAndNameTheProcess)
{
    auto& info = ProcessInfo::processInfo();
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        seen.insert(info.globallyUniqueString());
    }
    EXPECT_EQ(seen.size(), 1000u);
    char pid[16];
    std::snprintf(pid, sizeof pid, "-%X-", static_cast<unsigned>(::getpid()));
    EXPECT_NE(seen.begin()->find(pid), std::string::npos);
}
