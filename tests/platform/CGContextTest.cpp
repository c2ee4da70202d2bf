#include "../support/DrawnImages.h"
#include "CGContext.h"
#include "UIBezierPath.h"
#include "UIColor.h"
#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Pixel = UIImage::Pixel;

constexpr Pixel kClear{0, 0, 0, 0};
constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};

std::shared_ptr<UIImage> draw(CGSize size, const std::function<void(CGContext&)>& actions)
{
    auto image = UIGraphicsImageRenderer(size, 1).image(actions);
    keepDrawnImage(*image);
    return image;
}

} // namespace

TEST(CGContext, FillsAndStrokesWithTheColoursSetThroughUIColor)
{
    const auto image = draw({40, 40}, [](CGContext&) {
        UIColor(1, 0, 0, 1).setFill();
        UIColor(0, 0, 1, 1).setStroke();
        UIBezierPath(CGRect(10, 10, 20, 10)).fill();
        UIBezierPath line;
        line.move({0, 30.5});
        line.addLine({40, 30.5});
        line.stroke();
    });
    EXPECT_EQ(image->pixel(10, 10), kRed);
    EXPECT_EQ(image->pixel(29, 19), kRed);
    EXPECT_EQ(image->pixel(9, 15), kClear);
    EXPECT_EQ(image->pixel(30, 15), kClear);
    EXPECT_EQ(image->pixel(15, 20), kClear);
    EXPECT_EQ(image->pixel(5, 30), kBlue);
    EXPECT_EQ(image->pixel(5, 29), kClear);
    EXPECT_EQ(image->pixel(5, 31), kClear);
}

TEST(CGContext, AlphaVariantsBlendOverWhatIsThere)
{
    const auto image = draw({4, 4}, [](CGContext& context) {
        UIColor::white().setFill();
        context.fill(CGRect(0, 0, 4, 4));
        UIColor::black().withAlphaComponent(0.5).setFill();
        context.fill(CGRect(0, 0, 2, 4));
    });
    EXPECT_EQ(image->pixel(3, 0), (Pixel{255, 255, 255, 255}));
    const Pixel half = image->pixel(0, 0);
    EXPECT_NEAR(half.red, 128, 1);
    EXPECT_EQ(half.alpha, 255);
    EXPECT_EQ(UIColor::lightGray(), UIColor(2.0 / 3.0, 1));
}

TEST(CGContext, TransformsApplyInOrderAndRestoreWithTheState)
{
    const auto image = draw({40, 40}, [](CGContext& context) {
        UIColor(1, 0, 0, 1).setFill();
        context.saveGState();
        context.translateBy(10, 20);
        context.scaleBy(2, 3);
        EXPECT_EQ(context.ctm(), (CGAffineTransform{2, 0, 0, 3, 10, 20}));
        UIColor(0, 0, 1, 1).setFill();
        context.fill(CGRect(0, 0, 5, 2)); // device (10, 20, 10, 6)
        context.restoreGState();
        EXPECT_TRUE(context.ctm().isIdentity());
        EXPECT_EQ(context.fillColor(), UIColor(1, 0, 0, 1));
        context.fill(CGRect(0, 0, 2, 2));

        // A quarter turn about (30, 5): (0, 0)-(4, 2) lands at x 28..30, y 5..9.
        context.saveGState();
        context.translateBy(30, 5);
        context.rotate(std::numbers::pi / 2);
        context.fill(CGRect(0, 0, 4, 2));
        context.restoreGState();
        context.restoreGState(); // one too many: ignored
    });
    EXPECT_EQ(image->pixel(10, 20), kBlue);
    EXPECT_EQ(image->pixel(19, 25), kBlue);
    EXPECT_EQ(image->pixel(20, 25), kClear);
    EXPECT_EQ(image->pixel(19, 26), kClear);
    EXPECT_EQ(image->pixel(1, 1), kRed);
    EXPECT_EQ(image->pixel(28, 5), kRed);
    EXPECT_EQ(image->pixel(29, 8), kRed);
    EXPECT_EQ(image->pixel(30, 6), kClear);
    EXPECT_EQ(image->pixel(28, 9), kClear);
}

TEST(CGContext, ClipLimitsPaintingUntilRestored)
{
    const auto image = draw({20, 20}, [](CGContext& context) {
        UIColor(1, 0, 0, 1).setFill();
        context.saveGState();
        context.clip(CGRect(5, 5, 5, 5));
        context.fill(CGRect(0, 0, 20, 10));
        context.restoreGState();
        context.fill(CGRect(0, 15, 20, 5));
    });
    EXPECT_EQ(image->pixel(5, 5), kRed);
    EXPECT_EQ(image->pixel(4, 5), kClear);
    EXPECT_EQ(image->pixel(10, 5), kClear);
    EXPECT_EQ(image->pixel(0, 15), kRed);
}

TEST(CGContext, LineWidthCapAndJoinComeFromThePathAndScaleWithTheCanvas)
{
    const auto image = draw({40, 40}, [](CGContext& context) {
        UIColor(1, 0, 0, 1).setStroke();
        UIBezierPath butt;
        butt.move({10, 5});
        butt.addLine({30, 5});
        butt.setLineWidth(4);
        butt.stroke();
        UIBezierPath round = butt;
        round.setLineCapStyle(CGLineCap::round);
        context.translateBy(0, 10);
        round.stroke();
        context.scaleBy(2, 2);
        UIBezierPath thick;
        thick.move({5, 10});
        thick.addLine({15, 10});
        thick.setLineWidth(2);
        thick.stroke();
    });
    EXPECT_EQ(image->pixel(10, 3), kRed);
    EXPECT_EQ(image->pixel(9, 5), kClear);
    EXPECT_EQ(image->pixel(10, 7), kClear);
    EXPECT_EQ(image->pixel(9, 15), kRed); // the round cap reaches 2 beyond the end
    EXPECT_EQ(image->pixel(10, 28), kRed); // width 2 at scale 2: y 28..32
    EXPECT_EQ(image->pixel(10, 31), kRed);
    EXPECT_EQ(image->pixel(10, 32), kClear);
}

TEST(CGContext, ASingularScalePaintsNothingAndLeavesCairoUsable)
{
    const auto image = draw({10, 10}, [](CGContext& context) {
        UIColor(1, 0, 0, 1).setFill();
        for (const CGFloat bad : {0.0, CGFloat(NAN), CGFloat(INFINITY)}) {
            context.saveGState();
            context.scaleBy(bad, 1);
            EXPECT_FALSE(context.canPaint());
            context.translateBy(1, 1);
            context.clip(CGRect(0, 0, 5, 5));
            context.fill(CGRect(0, 0, 10, 10));
            EXPECT_EQ(cairo_status(context.cairo()), CAIRO_STATUS_SUCCESS);
            context.restoreGState();
        }
        context.saveGState();
        context.translateBy(NAN, 0);
        context.rotate(INFINITY);
        context.fill(CGRect(0, 0, 10, 10));
        context.restoreGState();
        context.saveGState();
        context.clip(CGRect(0, 0, NAN, 1));
        context.fill(CGRect(0, 0, 10, 10));
        context.restoreGState();

        EXPECT_TRUE(context.canPaint());
        context.fill(CGRect(0, 0, 2, 2));
    });
    EXPECT_EQ(image->pixel(1, 1), kRed);
    EXPECT_EQ(image->pixel(5, 5), kClear);
}

TEST(UIGraphics, TheCurrentContextIsTheInnermostDrawing)
{
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIColor(1, 0, 0, 1).setFill(); // without a context: nothing happens
    UIBezierPath(CGRect(0, 0, 1, 1)).fill();

    CGContext* outer = nullptr;
    const auto image = UIGraphicsImageRenderer({3, 2}, 2).image([&](CGContext& context) {
        outer = &context;
        EXPECT_EQ(UIGraphicsGetCurrentContext(), &context);
        UIGraphicsBeginImageContextWithOptions({1, 1}, false, 3);
        EXPECT_NE(UIGraphicsGetCurrentContext(), outer);
        const auto inner = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        ASSERT_TRUE(inner);
        EXPECT_EQ(inner->pixelWidth(), 3);
        EXPECT_EQ(inner->scale(), 3);
        EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
        // A scale of 2 maps each point onto 2 x 2 pixels.
        UIColor(0, 0, 1, 1).setFill();
        UIBezierPath(CGRect(1, 0, 1, 1)).fill();
    });
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nullptr);
    EXPECT_EQ(image->size(), (CGSize{3, 2}));
    EXPECT_EQ(image->pixelWidth(), 6);
    EXPECT_EQ(image->pixel(2, 1), kBlue);
    EXPECT_EQ(image->pixel(3, 1), kBlue);
    EXPECT_EQ(image->pixel(1, 1), kClear);
    EXPECT_EQ(image->pixel(2, 2), kClear);
}

TEST(UIImage, DrawsScaledIntoARectangleAndSurvivesAPNGRoundTrip)
{
    const auto source = UIGraphicsImageRenderer({2, 1}, 2).image([](CGContext& context) {
        UIColor(1, 0, 0, 1).setFill();
        context.fill(CGRect(0, 0, 1, 1));
        UIColor(0, 0, 1, 0.5).setFill();
        context.fill(CGRect(1, 0, 1, 1));
    });
    const auto drawn = draw({8, 4}, [&](CGContext&) { source->draw(CGRect(0, 1, 8, 2)); });
    EXPECT_EQ(drawn->pixel(0, 0), kClear);
    // Away from the seam, where filtering blends neighbouring pixels.
    EXPECT_EQ(drawn->pixel(2, 1), kRed);
    EXPECT_EQ(drawn->pixel(2, 2), kRed);
    EXPECT_EQ(drawn->pixel(5, 2).blue, 255);
    EXPECT_NEAR(drawn->pixel(5, 2).alpha, 128, 1);
    EXPECT_EQ(drawn->pixel(5, 3), kClear);

    const auto data = source->pngData();
    ASSERT_TRUE(data);
    const auto read = UIImage::fromData(*data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pixelWidth(), 4);
    EXPECT_EQ(read->pixelHeight(), 2);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(read->pixel(x, 1), source->pixel(x, 1)) << x;
    }
    EXPECT_EQ(read->pixel(4, 0), kClear);
    EXPECT_FALSE(UIImage::fromData(Data(data->begin(), data->begin() + 20)));
}
