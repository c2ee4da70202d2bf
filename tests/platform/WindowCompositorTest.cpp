#include "CGContext.h"
#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UIScreen.h"
#include "UIWindow.h"
#include "WindowCompositor.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <functional>
#include <random>

namespace {

// Paints its colour over `place` (its bounds unless set), with thin
// translucent bars between pixels, which resampling tells apart.
class Patch : public UIView {
public:
    Patch(CGRect frame, UIColor colour) : UIView(frame), colour(colour) {}

    void draw(CGRect rect) override
    {
        const CGRect area = place.value_or(rect);
        colour.setFill();
        UIGraphicsGetCurrentContext()->fill(area);
        UIColor(0, 0, 0, 0.3).setFill();
        for (CGFloat x = area.minX() + 0.3; x < area.maxX(); x += 1.7) {
            UIGraphicsGetCurrentContext()->fill(CGRect(x, area.minY(), 0.6, area.height()));
        }
    }

    UIColor colour;
    std::optional<CGRect> place;
};

// Cells of every opacity, which resampling mixes differently for every
// clip that cuts them.
class Noise : public UIView {
public:
    using UIView::UIView;

    void draw(CGRect rect) override
    {
        std::mt19937 random(7);
        for (int y = 0; y < int(rect.height()); ++y) {
            for (int x = 0; x < int(rect.width()); ++x) {
                UIColor(double(random() % 256) / 255, double(random() % 256) / 255, double(random() % 256) / 255,
                        double(random() % 256) / 255)
                    .setFill();
                UIGraphicsGetCurrentContext()->fill(CGRect(x, y, 1, 1));
            }
        }
    }
};

// Composes `window` after each step only where it changed, onto the picture
// composed before, and counts the pixels in which that differs from the
// window composed whole.
int differingFromWhole(UIWindow& window, CGFloat scale, const std::vector<std::function<void()>>& steps)
{
    const CGSize size = window.bounds().size;
    WindowCompositor compositor{UIColor(0.11, 1)};
    const auto kept = UIGraphicsImageRenderer(size, scale, true).image([](CGContext&) {});
    for (const auto& step : steps) {
        step();
        window.layoutIfNeeded();
        window.displayIfNeeded();
        const CGRect area = compositor.change({&window}, size, scale);
        cairo_t* cairo = cairo_create(kept->surface());
        cairo_scale(cairo, scale, scale);
        {
            CGContext context(cairo);
            compositor.paint(context, {&window}, size, area);
        }
        cairo_destroy(cairo);
    }
    const auto whole = UIGraphicsImageRenderer(size, scale, true).image([&](CGContext& context) {
        compositor.paint(context, {&window}, size);
    });
    int differing = 0;
    for (int y = 0; y < whole->pixelHeight(); ++y) {
        for (int x = 0; x < whole->pixelWidth(); ++x) {
            differing += kept->pixel(x, y) != whole->pixel(x, y);
        }
    }
    return differing;
}

class WindowCompositorTest : public testing::Test {
protected:
    void SetUp() override
    {
        UIScreen::main().setScale(1);
        window->addSubview(panel);
        panel->addSubview(inner);
        window->addSubview(corner);
        window->displayIfNeeded();
        compositor.change({window.get()}, size, 1);
    }

    CGRect change(CGFloat scale = 1)
    {
        window->layoutIfNeeded();
        window->displayIfNeeded();
        return compositor.change({window.get()}, size, scale);
    }

    const CGSize size{100, 60};
    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRect(0, 0, 100, 60));
    std::shared_ptr<Patch> panel = std::make_shared<Patch>(CGRect(10, 10, 40, 30), UIColor(0.2, 0.4, 0.6, 1));
    std::shared_ptr<Patch> inner = std::make_shared<Patch>(CGRect(5, 5, 10, 10), UIColor(1, 1, 1, 0.5));
    std::shared_ptr<Patch> corner = std::make_shared<Patch>(CGRect(80, 40, 10, 10), UIColor(1, 0, 0, 1));
    WindowCompositor compositor{UIColor(0.11, 1)};
};

} // namespace

TEST_F(WindowCompositorTest, AllOfThePictureFirstThenNothingWhileNothingChanges)
{
    WindowCompositor fresh{UIColor::black()};
    EXPECT_EQ(fresh.change({window.get()}, size, 2), CGRect(0, 0, 200, 120));
    EXPECT_EQ(fresh.change({window.get()}, size, 2), CGRect::zero());
    // A redraw that paints the same picture changes nothing.
    panel->setNeedsDisplay();
    inner->setNeedsDisplay();
    EXPECT_EQ(change(), CGRect::zero());
    // Another scale, size or number of windows: all of it again.
    EXPECT_EQ(change(2), CGRect(0, 0, 200, 120));
    EXPECT_EQ(compositor.change({window.get(), window.get()}, size, 2), CGRect(0, 0, 200, 120));
}

TEST_F(WindowCompositorTest, OnlyThePixelsAViewRedrewDifferentlyWithAPixelAllRound)
{
    // The inner view, 10 x 10 at (15, 15) in the window, clears all but a
    // pixel: all of it changed, and the margin of a pixel goes round it.
    inner->place = CGRect(2, 3, 1, 1);
    inner->setNeedsDisplay();
    EXPECT_EQ(change(), CGRect(14, 14, 12, 12));
    // The pixel moves: columns 2 to 6 of row 3 changed, and a filter's reach
    // of three pixels round them, within the view; then the margin.
    inner->place = CGRect(6, 3, 1, 1);
    inner->setNeedsDisplay();
    EXPECT_EQ(change(), CGRect(14, 14, 12, 9));
    panel->place = CGRect(30, 20, 4, 4);
    panel->setNeedsDisplay();
    // Everything but the square changed: the panel's whole extent.
    EXPECT_EQ(change(), CGRect(9, 9, 42, 32));
}

TEST_F(WindowCompositorTest, MovesAndHidingChangeWhereTheViewIsAndWasAndFadingChangesAll)
{
    corner->setFrame(CGRect(60, 40, 10, 10));
    EXPECT_EQ(change(), CGRect(59, 39, 32, 12));
    corner->setHidden(true);
    EXPECT_EQ(change(), CGRect(59, 39, 12, 12));
    // A faded view is painted as a group, which a clip would cut anew.
    panel->setAlpha(0.5);
    EXPECT_EQ(change(), CGRect(0, 0, 100, 60));
}

TEST_F(WindowCompositorTest, AChangeGrowsToHoldWholeEveryPictureNotPlacedOnWholePixelsThatItTouches)
{
    // Half a pixel off: the inner view's picture is resampled, and the panel
    // under it is not; a change touching the inner view holds it whole.
    inner->setFrame(CGRect(5.5, 5, 10, 10));
    EXPECT_EQ(change(), CGRect(14, 14, 13, 12));
    corner->setFrame(CGRect(22, 22, 4, 4));
    change();
    // A pixel of the corner, on whole pixels over the inner view's edge.
    corner->place = CGRect(0, 0, 1, 1);
    corner->setNeedsDisplay();
    EXPECT_EQ(change(), CGRect(14, 14, 13, 13));
}

TEST_F(WindowCompositorTest, PaintingOnlyTheChangesGivesThePicturePaintingEverythingGives)
{
    UIScreen::main().setScale(2);
    window->setNeedsDisplay();
    for (const auto& view : {panel, inner, corner}) {
        view->setNeedsDisplay();
    }
    const std::vector<std::function<void()>> steps = {
        [] {},
        [&] {
            inner->place = CGRect(1, 1, 3, 3);
            inner->setNeedsDisplay();
        },
        [&] { corner->setFrame(CGRect(62.5, 33.25, 10, 10)); },
        [&] {
            panel->setAlpha(0.6);
            corner->setTransform(CGAffineTransform::rotation(0.3));
        },
        [&] {
            panel->colour = UIColor(0, 0.5, 0, 1);
            panel->setNeedsDisplay();
        },
        [&] {
            inner->setHidden(true);
            corner->setFrame(CGRect(0.5, 0.5, 12, 7));
        },
        [&] {
            inner->setHidden(false);
            inner->place = CGRect(4, 4, 1, 1);
            inner->setNeedsDisplay();
        },
        [&] {
            corner->setTransform(CGAffineTransform::scale(1.7, 1.3));
            corner->place = CGRect(4, 3, 2, 1);
            corner->setNeedsDisplay();
        },
        [&] {
            corner->place = CGRect(6, 3, 1, 1);
            corner->setNeedsDisplay();
        },
    };
    EXPECT_EQ(differingFromWhole(*window, 2, steps), 0);
    UIScreen::main().setScale(1);
}

// What a view paints and what the compositor takes as shown come from one
// walk of the tree: a faded view squeezed onto a line paints nothing, so it
// changes only where it was and fades nothing; and whatever the tree goes
// through, painting only the changes gives what painting everything gives.
TEST_F(WindowCompositorTest, AFadedViewThatCannotPaintShowsNowhereWhateverTheTreeGoesThrough)
{
    const auto squeezed = CGAffineTransform::scale(1, 0).concatenating(CGAffineTransform::rotation(0.5));
    corner->setAlpha(0.5);
    corner->setTransform(squeezed);
    EXPECT_EQ(change(), CGRect(79, 39, 12, 12));
    corner->setFrame(CGRect(17, 17, 10, 10));
    EXPECT_EQ(change(), CGRect::zero());
    // Nor does a change under it grow to all of the window.
    inner->place = CGRect(2, 3, 1, 1);
    inner->setNeedsDisplay();
    EXPECT_EQ(change(), CGRect(14, 14, 12, 12));

    const auto added = std::make_shared<Patch>(CGRect(2.5, 1.25, 6, 7), UIColor(0, 1, 0, 0.8));
    const std::vector<std::function<void()>> steps = {
        [] {},
        [&] { corner->setTransform(CGAffineTransform::rotation(0.2)); },
        [&] {
            added->setAlpha(0.7);
            inner->addSubview(added);
        },
        [&] {
            inner->setAlpha(0.6);
            added->setTransform(squeezed);
        },
        [&] { panel->setTransform(squeezed); },
        [&] {
            panel->setTransform(CGAffineTransform::scale(1.2, 0.9));
            inner->setHidden(true);
        },
        [&] {
            window->addSubview(added);
            inner->setHidden(false);
            corner->setFrame(CGRect(60.5, 30.25, 10, 10));
        },
        [&] {
            corner->removeFromSuperview();
            panel->setAlpha(0.8);
        },
    };
    EXPECT_EQ(differingFromWhole(*window, 1, steps), 0);
}

// A view on whole pixels changes over a large picture placed between pixels
// and a little narrowed; where it touches the picture, the picture is
// painted again whole.
TEST(WindowCompositor, PicturesBetweenPixelsArePaintedAgainWholeOrNotAtAll)
{
    UIScreen::main().setScale(1);
    const auto window = std::make_shared<UIWindow>(CGRect(0, 0, 200, 150));
    const auto noise = std::make_shared<Noise>(CGRect(12.909, 13.6, 160.3, 120.4));
    const auto blip = std::make_shared<Patch>(CGRect(40, 40, 30, 20), UIColor(1, 0, 0, 1));
    window->addSubview(noise);
    window->addSubview(blip);
    const std::vector<std::function<void()>> steps = {
        [] {},
        [&] {
            blip->colour = UIColor(0, 1, 0, 0.5);
            blip->setNeedsDisplay();
        },
        [&] { blip->setFrame(CGRect(90, 70, 30, 20)); },
        [&] {
            blip->place = CGRect(1, 1, 2, 2);
            blip->setNeedsDisplay();
        },
    };
    EXPECT_EQ(differingFromWhole(*window, 1, steps), 0);
}


// Cairo makes no picture past 32767 pixels a side: the drawn area ends there.
TEST_F(WindowCompositorTest, TheDrawnAreaEndsAtTheLargestPictureCairoMakes)
{
    corner->setFrame(CGRect(19000, 40, 10, 10));
    compositor.change({window.get()}, {20000, 60}, 2);
    EXPECT_EQ(compositor.drawnArea().width(), 32767);
}
