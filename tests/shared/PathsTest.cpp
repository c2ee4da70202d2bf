#include "../support/TemporaryFolder.h"
#include "Console.h"
#include "ManualClock.h"
#include "Paths.h"
#include "UniqueName.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(Paths, EnsureDirectoryExistsKeepsCreatesOrRefuses)
{
    TemporaryFolder folder;
    ManualClock clock;
    Console::Capture capture;

    EXPECT_TRUE(ensureDirectoryExists(URL::fileURL(folder.path())));
    const auto nested = folder.path() / "a" / "b" / "c";
    EXPECT_TRUE(ensureDirectoryExists(URL::fileURL(nested)));
    EXPECT_TRUE(std::filesystem::is_directory(nested));
    clock.advance(0);
    EXPECT_THAT(capture.lines(), IsEmpty());

    const auto file = folder.path() / "plain";
    std::ofstream(file) << "keep me";
    EXPECT_FALSE(ensureDirectoryExists(URL::fileURL(file)));
    EXPECT_FALSE(ensureDirectoryExists(URL::fileURL(file / "below")));
    EXPECT_THAT(capture.lines(), IsEmpty()) << "printed before the main queue ran";
    clock.advance(0);
    const auto lines = capture.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ensureDirectoryExists() : ERROR: Creating required directory '" +
                            file.string() +
                            "' failed: A file that is not a directory already exists at this path.");
    EXPECT_THAT(lines[1], ::testing::StartsWith("ensureDirectoryExists() : ERROR: Creating "
                                                "required directory '" +
                                                (file / "below").string() + "' failed: "));
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

TEST(Paths, GetPathsReportsDocumentsAndMissingResources)
{
    TemporaryFolder home;
    ScopedEnvironment dataHome("XDG_DATA_HOME", home.path().string());
    ManualClock clock;
    Console::Capture capture;
    getPaths();
    const auto documents = home.path() / "shared_tests" / "Documents";
    ASSERT_TRUE(documentsURL);
    EXPECT_EQ(documentsURL->path(), documents.string());
    EXPECT_FALSE(resourcesURL);
    clock.advance(0);
    EXPECT_THAT(capture.lines(),
                ElementsAre("AudioUnitViewController::getPaths() : Audio Unit's documents path is: " +
                                documents.string(),
                            "AudioUnitViewController::getPaths() : ERROR: Audio Unit's resources "
                            "path is nil."));
}

TEST(Paths, GetPathsReportsAMissingDocumentsFolder)
{
    ScopedEnvironment dataHome("XDG_DATA_HOME", "");
    ScopedEnvironment home("HOME", "");
    ManualClock clock;
    Console::Capture capture;
    getPaths();
    EXPECT_FALSE(documentsURL);
    clock.advance(0);
    EXPECT_EQ(capture.lines().at(0),
              "AudioUnitViewController::getPaths() : ERROR: Audio Unit's documents path is nil.");
}

TEST(UniqueName, PrefixDashAndAFreshUniqueText)
{
    EXPECT_EQ(uniqueName("take").rfind("take-", 0), 0u);
    EXPECT_NE(uniqueName(std::nullopt).front(), '-');
    EXPECT_NE(uniqueName(std::nullopt), uniqueName(std::nullopt));
}
