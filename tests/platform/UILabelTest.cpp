#include "../support/DrawnImages.h"
#include "CGContext.h"
#include "TextDrawRecorder.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UILabel.h"

#include <gtest/gtest.h>

namespace {

// The texts the label draws into an image of `canvas` points, its bounds at
// the image's origin.
std::vector<TextDraw> drawn(UILabel& label, CGSize canvas, std::shared_ptr<UIImage>* image = nullptr)
{
    TextDrawRecorder recorder;
    auto picture = UIGraphicsImageRenderer(canvas, 1).image([&](CGContext&) { label.draw(label.bounds()); });
    if (image != nullptr) {
        *image = std::move(picture);
    }
    return recorder.draws();
}

CGFloat lineHeight(const UIFont& font)
{
    return boundingRect("M", {0, 0}, {font}).height();
}

} // namespace

TEST(UILabel, DrawsItsTextInItsFontColourAndAlignmentCentredInItsHeight)
{
    UILabel label(CGRect(150, 290, 300, 80));
    EXPECT_TRUE(drawn(label, {300, 80}).empty());
    label.setText("Preset loaded");
    std::shared_ptr<UIImage> image;
    std::vector<TextDraw> draws = drawn(label, {300, 80}, &image);
    keepDrawnImage(*image);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].string, "Preset loaded");
    EXPECT_EQ(draws[0].fontName, "HelveticaNeue");
    EXPECT_EQ(draws[0].fontSize, 17);
    EXPECT_EQ(draws[0].color, UIColor::black());
    EXPECT_EQ(draws[0].alignment, NSTextAlignment::left);
    const CGFloat line = lineHeight(*label.font());
    EXPECT_EQ(draws[0].rect, CGRect(0, (80 - line) / 2, 300, line));

    const int requests = label.displayRequestCount();
    label.setFont(*UIFont::named("HelveticaNeue-CondensedBold", 12));
    label.setTextColor(UIColor::white());
    label.setTextAlignment(NSTextAlignment::center);
    label.setTextAlignment(NSTextAlignment::center);
    label.setText("Preset loaded");
    EXPECT_EQ(label.displayRequestCount(), requests + 3);
    draws = drawn(label, {300, 80});
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].fontName, "HelveticaNeue-CondensedBold");
    EXPECT_EQ(draws[0].fontSize, 12);
    EXPECT_EQ(draws[0].color, UIColor::white());
    EXPECT_EQ(draws[0].alignment, NSTextAlignment::center);
}

TEST(UILabel, WrapsAtItsWidthOnAtMostItsNumberOfLinesAndClipsToItsBounds)
{
    // At 17 points the words are 28.4, 26.5, 38.7, 29.3 and 26.5 wide and a
    // space 4.7: lines of 70 points hold "one two", "three", "four five".
    const std::string text = "one two three four five";
    UILabel label(CGRect(0, 0, 70, 20));
    label.setText(text);
    const CGFloat line = lineHeight(*label.font());
    const auto drawnHeight = [&](int lines) {
        label.setNumberOfLines(lines);
        std::shared_ptr<UIImage> image;
        const CGFloat height = drawn(label, {70, 200}, &image).at(0).rect.height();
        int inkBelow = 0;
        for (int y = 20; y < 200; ++y) {
            for (int x = 0; x < 70; ++x) {
                inkBelow += image->pixel(x, y).alpha > 0;
            }
        }
        EXPECT_EQ(inkBelow, 0) << lines << " lines";
        return height;
    };
    EXPECT_NEAR(drawnHeight(1), line, 1e-9);
    EXPECT_NEAR(drawnHeight(2), 2 * line, 1e-9);
    EXPECT_NEAR(drawnHeight(0), 3 * line, 1e-9);
    EXPECT_NEAR(drawnHeight(5), 3 * line, 1e-9);
    EXPECT_NEAR(drawnHeight(-1), 3 * line, 1e-9);

    // The one line the text is cut to runs out to the width, where an
    // ellipsis ends it, instead of stopping after the words that fit.
    NSStringAttributes attributes{*label.font()};
    const CGFloat firstLine = boundingRect("one two", {0, 0}, attributes).width();
    attributes.maximumNumberOfLines = 1;
    const CGRect cut = boundingRect(text, {70, INFINITY}, attributes);
    EXPECT_GT(cut.width(), firstLine + 5);
    EXPECT_LE(cut.width(), 70);
    EXPECT_NEAR(cut.height(), line, 1e-9);
}
