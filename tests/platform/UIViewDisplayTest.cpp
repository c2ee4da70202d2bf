#include "../support/DrawnImages.h"
#include "CGContext.h"
#include "UIColor.h"
#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UIScreen.h"
#include "UIWindow.h"

#include <gtest/gtest.h>

namespace {

using Pixel = UIImage::Pixel;

// Fills its bounds with one colour and counts its drawings.
class Plate : public UIView {
public:
    Plate(CGRect frame, UIColor colour) : UIView(frame), colour_(colour) {}

    void draw(CGRect rect) override
    {
        UIView::draw(rect); // as drawings often start; it must not discard the picture
        ++draws;
        lastRect = rect;
        colour_.setFill();
        UIGraphicsGetCurrentContext()->fill(rect);
    }

    int draws = 0;
    CGRect lastRect;

private:
    UIColor colour_;
};

// Each drawing moves the picture it showed before down by one row and paints
// a new top row: the snapshot-and-shift pattern of a scrolling history.
class Scroller : public UIView {
public:
    using UIView::UIView;

    void draw(CGRect rect) override
    {
        UIGraphicsBeginImageContextWithOptions(rect.size, false, 0);
        drawHierarchy(rect, false);
        const auto previous = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        previous->draw(CGRect(0, 1, rect.width(), rect.height()));
        UIColor(0, 0, 1, 0.25 * ++rows).setFill();
        UIGraphicsGetCurrentContext()->fill(CGRect(0, 0, rect.width(), 1));
    }

    int rows = 0;
};

std::shared_ptr<UIImage> showWindow(UIWindow& window)
{
    return UIGraphicsImageRenderer(window.bounds().size, 1).image([&](CGContext&) {
        window.drawHierarchy(window.bounds(), true);
    });
}

} // namespace

TEST(UIViewDisplay, OnlyViewsInAWindowAreDrawnAndOnlyWhenAsked)
{
    auto loose = std::make_shared<Plate>(CGRect(0, 0, 4, 4), UIColor::black());
    loose->setNeedsDisplay();
    loose->displayIfNeeded();
    EXPECT_EQ(loose->draws, 0);
    EXPECT_FALSE(loose->window());
    EXPECT_FALSE(loose->layerContents());

    auto window = std::make_shared<UIWindow>(CGRect(0, 0, 10, 10));
    auto container = std::make_shared<UIView>(CGRect(0, 0, 10, 10));
    window->addSubview(container);
    container->addSubview(loose);
    EXPECT_EQ(loose->window(), window);
    EXPECT_EQ(window->window(), window);
    window->displayIfNeeded();
    EXPECT_EQ(loose->draws, 1);
    EXPECT_EQ(loose->lastRect, CGRect(0, 0, 4, 4));
    EXPECT_FALSE(container->layerContents()); // draws nothing of its own
    window->displayIfNeeded();
    EXPECT_EQ(loose->draws, 1);

    loose->setNeedsDisplay();
    loose->setNeedsDisplay();
    EXPECT_EQ(loose->displayRequestCount(), 3);
    loose->setHidden(true);
    window->displayIfNeeded();
    EXPECT_EQ(loose->draws, 1);
    loose->setHidden(false);
    window->displayIfNeeded();
    EXPECT_EQ(loose->draws, 2);
    EXPECT_FALSE(loose->needsDisplay());
}

// A new size, set or laid out, draws the view again; a move does not.
TEST(UIViewDisplay, AViewIsDrawnAgainWhenItsSizeChanges)
{
    auto window = std::make_shared<UIWindow>(CGRect(0, 0, 10, 10));
    auto plate = std::make_shared<Plate>(CGRect(0, 0, 4, 4), UIColor::black());
    window->addSubview(plate);
    window->displayIfNeeded();
    plate->setFrame(CGRect(2, 2, 4, 4));
    EXPECT_FALSE(plate->needsDisplay());
    plate->setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activate({plate->trailingAnchor().constraint(window->trailingAnchor(), -1),
                                  plate->leadingAnchor().constraint(window->leadingAnchor(), 1)});
    window->layoutIfNeeded();
    window->displayIfNeeded();
    EXPECT_EQ(plate->lastRect, CGRect(0, 0, 8, 4));
}

TEST(UIViewDisplay, KeptImagesHaveTheBoundsAtTheScreenScale)
{
    UIScreen::main().setScale(2);
    auto window = std::make_shared<UIWindow>(CGRect(0, 0, 10, 10));
    auto plate = std::make_shared<Plate>(CGRect(1, 1, 3, 2), UIColor(1, 0, 0, 1));
    window->addSubview(plate);
    window->displayIfNeeded();
    UIScreen::main().setScale(1);
    ASSERT_TRUE(plate->layerContents());
    EXPECT_EQ(plate->layerContents()->pixelWidth(), 6);
    EXPECT_EQ(plate->layerContents()->pixelHeight(), 4);
    EXPECT_EQ(plate->layerContents()->size(), (CGSize{3, 2}));
    EXPECT_EQ(plate->layerContents()->pixel(5, 3), (Pixel{255, 0, 0, 255}));
}

TEST(UIViewDisplay, ShowingComposesFramesTransformsAlphaAndHiddenFlags)
{
    auto window = std::make_shared<UIWindow>(CGRect(0, 0, 40, 20));
    auto back = std::make_shared<Plate>(CGRect(0, 0, 40, 20), UIColor::white());
    auto faded = std::make_shared<Plate>(CGRect(2, 2, 6, 6), UIColor::black());
    auto grown = std::make_shared<Plate>(CGRect(20, 5, 4, 4), UIColor(1, 0, 0, 1));
    auto hidden = std::make_shared<Plate>(CGRect(30, 0, 10, 10), UIColor::black());
    window->addSubview(back);
    back->addSubview(faded);
    back->addSubview(grown);
    back->addSubview(hidden);
    faded->setAlpha(0.5);
    grown->setTransform(CGAffineTransform::scale(2, 2)); // about its centre (22, 7)
    hidden->setHidden(true);

    const auto image = showWindow(*window);
    keepDrawnImage(*image);
    EXPECT_EQ(hidden->draws, 0);
    EXPECT_NEAR(image->pixel(4, 4).red, 128, 1);
    EXPECT_EQ(image->pixel(1, 1), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(image->pixel(18, 3), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(image->pixel(25, 10), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(image->pixel(26, 7), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(image->pixel(35, 5), (Pixel{255, 255, 255, 255}));

    auto loose = std::make_shared<Plate>(CGRect(0, 0, 4, 4), UIColor::black());
    UIGraphicsImageRenderer({4, 4}, 1).image(
        [&](CGContext&) { EXPECT_FALSE(loose->drawHierarchy(CGRect(0, 0, 4, 4), true)); });
    EXPECT_EQ(loose->draws, 0);
}

TEST(UIViewDisplay, ADrawingSnapshotsWhatTheViewShowedBefore)
{
    auto window = std::make_shared<UIWindow>(CGRect(0, 0, 4, 4));
    auto scroller = std::make_shared<Scroller>(CGRect(0, 0, 4, 4));
    window->addSubview(scroller);
    for (int pass = 0; pass < 3; ++pass) {
        scroller->setNeedsDisplay();
        window->displayIfNeeded();
    }
    const auto& shown = scroller->layerContents();
    ASSERT_TRUE(shown);
    keepDrawnImage(*shown);
    // Newest row on top; each older one a row further down.
    EXPECT_NEAR(shown->pixel(0, 0).alpha, 191, 1);
    EXPECT_NEAR(shown->pixel(0, 1).alpha, 128, 1);
    EXPECT_NEAR(shown->pixel(0, 2).alpha, 64, 1);
    EXPECT_EQ(shown->pixel(0, 3).alpha, 0);
}
