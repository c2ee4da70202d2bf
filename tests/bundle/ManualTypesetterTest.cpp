#include "../support/TemporaryFolder.h"

#include "ManualTypesetter.h"

#include <gtest/gtest.h>

TEST(ManualTypesetterTest, AnUnwritableFileIsAnErrorAndLeavesNothingBehind)
{
    const TemporaryFolder folder;
    EXPECT_THROW(ManualTypesetter::write({{ManualBlock::Kind::title, "Title"}}, folder.path() / "missing" / "a.pdf"),
                 std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}
