#pragma once

// Pictures as the code drew them when the references were made, kept as
// tests/pictures/references/<name>.png, and the check that a picture drawn
// now is the same, pixel for pixel. They hold text, so they depend on the
// fonts, Cairo and Pango of Debian 12 as scripts/setup installs them.
//
// To make every reference again from the code as it is, run
//
//     scripts/reference-pictures
//
// It builds the picture tests and runs them (the shell's under a virtual
// display) with VELMORA_WRITE_REFERENCES=1, which makes each check write
// what was drawn as its reference instead of comparing.

#include "../support/DrawnImages.h"

#include "UIImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

inline std::filesystem::path referencePicturePath(const std::string& name)
{
    return std::filesystem::path(VELMORA_REFERENCE_PICTURES) / (name + ".png");
}

inline bool writingReferencePictures()
{
    const char* value = std::getenv("VELMORA_WRITE_REFERENCES");
    return value != nullptr && std::string(value) == "1";
}

inline std::shared_ptr<UIImage> readPicture(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return nullptr;
    }
    const Data data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return UIImage::fromData(data);
}

// Fails the test unless `image` is the reference `name` in size and in every
// pixel. Both are compared as read back from PNG, the form the reference is
// kept in. A picture that differs is kept beside the test program.
inline void expectReferencePicture(const UIImage& image, const std::string& name)
{
    const auto path = referencePicturePath(name);
    if (writingReferencePictures()) {
        EXPECT_TRUE(image.writePNG(path)) << path;
        return;
    }
    const auto reference = readPicture(path);
    ASSERT_TRUE(reference) << "There is no reference picture " << path << "; scripts/reference-pictures makes it.";
    const auto encoded = image.pngData();
    ASSERT_TRUE(encoded);
    const auto drawn = UIImage::fromData(*encoded);
    ASSERT_EQ(drawn->pixelWidth(), reference->pixelWidth()) << name;
    ASSERT_EQ(drawn->pixelHeight(), reference->pixelHeight()) << name;
    long differing = 0;
    int firstX = -1;
    int firstY = -1;
    for (int y = 0; y < drawn->pixelHeight(); ++y) {
        for (int x = 0; x < drawn->pixelWidth(); ++x) {
            if (drawn->pixel(x, y) != reference->pixel(x, y)) {
                if (differing++ == 0) {
                    firstX = x;
                    firstY = y;
                }
            }
        }
    }
    if (differing > 0) {
        keepDrawnImage(image, "." + name);
        ADD_FAILURE() << name << ": " << differing << " pixels differ from the reference, the first at (" << firstX
                      << ", " << firstY << ")";
    }
}
