#pragma once

#include "UIImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Where a test keeps what it drew: "drawn/<suite>.<test><suffix>.png" beside
// the test program, so a person can look at it. Never compare these by eye in
// an assertion: the test checks pixels or recorded draws itself.
inline std::filesystem::path drawnImagePath(const std::string& suffix = "")
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name() + suffix;
    for (char& character : name) {
        if (character == '/') {
            character = '_';
        }
    }
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "drawn";
    std::filesystem::create_directories(folder);
    return folder / (name + ".png");
}

inline void keepDrawnImage(const UIImage& image, const std::string& suffix = "")
{
    const auto path = drawnImagePath(suffix);
    EXPECT_TRUE(image.writePNG(path)) << path;
}
