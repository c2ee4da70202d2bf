#include "../support/DrawnImages.h"
#include "CGContext.h"
#include "TextDrawRecorder.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UILabel.h"

#include <gtest/gtest.h>

namespace {

// The label drawn into an image of `canvas` points at one pixel per point,
// its bounds at the image's origin.
std::shared_ptr<UIImage> drawn(UILabel& label, CGSize canvas)
{
    return UIGraphicsImageRenderer(canvas, 1).image([&](CGContext&) { label.draw(label.bounds()); });
}

CGFloat lineHeight(const UIFont& font)
{
    return boundingRect("M", {0, 0}, {font}).height();
}

// Whether any pixel of rows y0..y1 holds ink.
bool inkInRows(const UIImage& image, int y0, int y1)
{
    for (int y = y0; y < y1; ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            if (image.pixel(x, y).alpha > 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(UILabel, DrawsItsTextOnOneLineCentredInItsHeightInBlackByDefault)
{
    UILabel label(CGRect(150, 290, 300, 80));
    label.setText("Preset loaded");
    TextDrawRecorder recorder;
    const auto image = drawn(label, {300, 80});
    keepDrawnImage(*image);
    ASSERT_EQ(recorder.draws().size(), 1u);
    const TextDraw& draw = recorder.draws()[0];
    EXPECT_EQ(draw.string, "Preset loaded");
    EXPECT_EQ(draw.fontName, "HelveticaNeue");
    EXPECT_EQ(draw.fontSize, 17);
    EXPECT_EQ(draw.color, UIColor::black());
    EXPECT_EQ(draw.alignment, NSTextAlignment::left);
    const CGFloat line = lineHeight(*label.font());
    EXPECT_EQ(draw.rect, CGRect(0, (80 - line) / 2, 300, line));
    EXPECT_TRUE(inkInRows(*image, 30, 50));
    EXPECT_FALSE(inkInRows(*image, 0, 20));

    label.setText("");
    TextDrawRecorder empty;
    drawn(label, {300, 80});
    EXPECT_TRUE(empty.draws().empty());
}

TEST(UILabel, DrawsInItsFontColourAndAlignmentAndAsksForARedrawOnlyOnAChange)
{
    UILabel label(CGRect(0, 0, 120, 30));
    label.setText("Freeze");
    const int requests = label.displayRequestCount();
    const UIFont font = *UIFont::named("HelveticaNeue-CondensedBold", 12);
    label.setFont(font);
    label.setTextColor(UIColor::white());
    label.setTextAlignment(NSTextAlignment::center);
    label.setNumberOfLines(0);
    EXPECT_EQ(label.displayRequestCount(), requests + 4);
    label.setFont(font);
    label.setTextColor(UIColor::white());
    label.setTextAlignment(NSTextAlignment::center);
    label.setNumberOfLines(-3);
    label.setText("Freeze");
    EXPECT_EQ(label.displayRequestCount(), requests + 4);
    EXPECT_EQ(label.numberOfLines(), 0);

    TextDrawRecorder recorder;
    drawn(label, {120, 30});
    ASSERT_EQ(recorder.draws().size(), 1u);
    const TextDraw& draw = recorder.draws()[0];
    EXPECT_EQ(draw.fontName, "HelveticaNeue-CondensedBold");
    EXPECT_EQ(draw.fontSize, 12);
    EXPECT_EQ(draw.color, UIColor::white());
    EXPECT_EQ(draw.alignment, NSTextAlignment::center);
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
        TextDrawRecorder recorder;
        const auto image = drawn(label, {70, 200});
        EXPECT_FALSE(inkInRows(*image, 20, 200)) << lines;
        return recorder.draws().at(0).rect.height();
    };
    EXPECT_NEAR(drawnHeight(1), line, 1e-9);
    EXPECT_NEAR(drawnHeight(2), 2 * line, 1e-9);
    EXPECT_NEAR(drawnHeight(0), 3 * line, 1e-9);
    EXPECT_NEAR(drawnHeight(5), 3 * line, 1e-9);

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
