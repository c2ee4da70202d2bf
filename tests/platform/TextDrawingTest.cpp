#include "../support/DrawnImages.h"
#include "CGContext.h"
#include "NSStringDrawing.h"
#include "TextDrawRecorder.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"

#include <cairo.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using ::testing::ElementsAre;

namespace {

NSStringAttributes attributes(const std::string& font, CGFloat size,
                              NSTextAlignment alignment = NSTextAlignment::left)
{
    return {*UIFont::named(font, size), UIColor::black(), alignment};
}

CGFloat widthOf(const std::string& text, const std::string& font)
{
    return boundingRect(text, {0, INFINITY}, attributes(font, 100)).width();
}

// Columns of the image that hold some ink in rows y0..y1.
std::pair<int, int> inkColumns(const UIImage& image, int y0, int y1)
{
    int first = image.pixelWidth();
    int last = -1;
    for (int y = y0; y < y1; ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            if (image.pixel(x, y).alpha > 64) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

} // namespace

TEST(UIFont, TheInterfaceFontsResolveAndUnknownOnesDoNot)
{
    const auto font = UIFont::named("HelveticaNeue", 12);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->fontName(), "HelveticaNeue");
    EXPECT_EQ(font->pointSize(), 12);
    EXPECT_TRUE(UIFont::named("HelveticaNeue-CondensedBold", 9));
    EXPECT_FALSE(UIFont::named("NoSuchFontAnywhere", 12));
    EXPECT_FALSE(UIFont::named("HelveticaNeue", 0));
    EXPECT_FALSE(UIFont::named("HelveticaNeue", NAN));
}

TEST(UIFont, TheRuleGivesHelveticaMetricsAndACondensedBoldFace)
{
    // Helvetica's advance widths, in thousandths of the size: H 722, i 222.
    EXPECT_NEAR(widthOf("H", "HelveticaNeue"), 72.2, 0.1);
    EXPECT_NEAR(widthOf("HiHi", "HelveticaNeue"), 188.8, 0.2);
    // Condensed: narrower than the regular face; bold: wider than the
    // regular condensed one narrowed as the rule narrows it, to nine tenths.
    const CGFloat condensedBold = widthOf("HELLO", "HelveticaNeue-CondensedBold");
    EXPECT_LT(condensedBold, widthOf("HELLO", "HelveticaNeue") * 0.9);
    EXPECT_GT(condensedBold, widthOf("HELLO", "TeX Gyre Heros Cn") * 0.9 * 1.03);
}

TEST(NSStringDrawing, MeasuresWrappedLinesFromTheFirstLinesTop)
{
    const auto font = attributes("HelveticaNeue", 10);
    const CGRect one = boundingRect("SIDE", {78, INFINITY}, font);
    EXPECT_EQ(one.origin, (CGPoint{0, 0}));
    EXPECT_GT(one.height(), 10);
    EXPECT_LT(one.height(), 15);
    EXPECT_NEAR(one.width(), widthOf("SIDE", "HelveticaNeue") / 10, 1e-3);
    // "harmonics" is 46.1 wide: it goes to a second line whole.
    const CGRect two = boundingRect("shift harmonics", {50, INFINITY}, font);
    EXPECT_NEAR(two.height(), 2 * one.height(), 1e-6);
    EXPECT_NEAR(two.width(), 46.08, 0.05);
    // A word wider than the line breaks between characters, with no hyphen
    // added (which would leave room for one "M" only: four lines).
    const CGRect broken = boundingRect("MMMM", {18, INFINITY}, font);
    EXPECT_NEAR(broken.height(), 2 * one.height(), 1e-6);
    EXPECT_NEAR(broken.width(), 2 * widthOf("M", "HelveticaNeue") / 10, 1e-3);
    EXPECT_EQ(boundingRect("", {40, INFINITY}, font).width(), 0);
}

TEST(NSStringDrawing, AlignsEachLineWithinTheRectangleWidth)
{
    const CGRect left(10, 0, 100, 20);
    const CGRect centred(10, 20, 100, 20);
    const CGRect right(10, 40, 100, 20);
    const auto image = UIGraphicsImageRenderer({120, 60}, 1).image([&](CGContext&) {
        draw("MID", left, attributes("HelveticaNeue", 12, NSTextAlignment::left));
        draw("MID", centred, attributes("HelveticaNeue", 12, NSTextAlignment::center));
        draw("MID", right, attributes("HelveticaNeue", 12, NSTextAlignment::right));
    });
    keepDrawnImage(*image);
    const auto [leftFirst, leftLast] = inkColumns(*image, 0, 20);
    const auto [centreFirst, centreLast] = inkColumns(*image, 20, 40);
    const auto [rightFirst, rightLast] = inkColumns(*image, 40, 60);
    EXPECT_NEAR(leftFirst, 11, 1.5);
    EXPECT_NEAR((centreFirst + centreLast + 1) / 2.0, 60, 1.5);
    EXPECT_NEAR(rightLast + 1, 110, 1.5);
    EXPECT_NEAR(rightLast - rightFirst, leftLast - leftFirst, 1);
}

TEST(TextDrawRecorder, RecordsEveryDrawEvenWhereNothingCanBePainted)
{
    TextDrawRecorder recorder;
    const auto image = UIGraphicsImageRenderer({40, 40}, 1).image([](CGContext& context) {
        context.translateBy(5, 6);
        draw("C-2", CGRect(0, 0, 32, 10),
             {*UIFont::named("HelveticaNeue", 8), UIColor::white(), NSTextAlignment::center});
        context.scaleBy(0, 0);
        draw("RESET", CGRect(0, 21, 36, 8), attributes("HelveticaNeue", 6));
        EXPECT_EQ(cairo_status(context.cairo()), CAIRO_STATUS_SUCCESS);
    });
    EXPECT_THAT(recorder.strings(), ElementsAre("C-2", "RESET"));
    const TextDraw& first = recorder.draws()[0];
    EXPECT_EQ(first.rect, CGRect(0, 0, 32, 10));
    EXPECT_EQ(first.fontName, "HelveticaNeue");
    EXPECT_EQ(first.fontSize, 8);
    EXPECT_EQ(first.color, UIColor::white());
    EXPECT_EQ(first.alignment, NSTextAlignment::center);
    EXPECT_EQ(first.ctm, CGAffineTransform::translation(5, 6));
    EXPECT_EQ(recorder.draws()[1].ctm.a, 0);
    // Only the first string was painted: in white, inside its rectangle.
    const auto [first0, last0] = inkColumns(*image, 0, 40);
    EXPECT_GE(first0, 5);
    EXPECT_LE(last0, 37);
    EXPECT_EQ(inkColumns(*image, 17, 40).second, -1);
    {
        TextDrawRecorder inner;
        UIGraphicsImageRenderer({1, 1}, 1).image(
            [](CGContext&) { draw("x", CGRect(0, 0, 1, 1), attributes("HelveticaNeue", 1)); });
        EXPECT_THAT(inner.strings(), ElementsAre("x"));
    }
    EXPECT_EQ(recorder.draws().size(), 2u);
}
