#include "../support/DrawnImages.h"
#include "FakeViewController.h"
#include "ScaleRecords.h"
#include "UIScreen.h"
#include "UIWindow.h"
#include "ViewImages.h"
#include "WaterfallView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 128;

// 128 magnitudes, zero except the notes given.
std::vector<float> row(const std::map<int, float>& notes)
{
    std::vector<float> magnitudes(128, 0.0f);
    for (const auto& [note, magnitude] : notes) {
        magnitudes[note] = magnitude;
    }
    return magnitudes;
}

// At the default speed a 512 x 128 view at scale 1 has one pixel per design
// unit: cell n covers columns 4n ... 4n + 3, and a new row rows 0 and 1.
class WaterfallViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        UIScreen::main().setScale(1);
        resetScaleRecords();
        window->addSubview(view);
        view->setViewController(controller);
    }
    void TearDown() override { resetScaleRecords(); }

    // One timer tick with these magnitudes, and the display pass after it.
    void tick(std::vector<float> magnitudes)
    {
        controller->magnitudes = std::move(magnitudes);
        view->update();
        window->displayIfNeeded();
    }
    // Alpha of note `note`'s column in pixel row `y` of what the view shows.
    int alpha(int note, int y) const { return view->layerContents()->pixel(4 * note + 1, y).alpha; }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRect(0, 0, kWidth, kHeight));
    std::shared_ptr<WaterfallView> view = std::make_shared<WaterfallView>(CGRect(0, 0, kWidth, kHeight));
    std::shared_ptr<FakeViewController> controller = std::make_shared<FakeViewController>();
};

TEST_F(WaterfallViewTest, SpeedModesSetTheCanvasHeightFromTheNextPass)
{
    const CGFloat speeds[] = {2, 4, 8, 16, 32, 64, 128, 256, 512};
    for (int mode = 0; mode <= 8; ++mode) {
        view->setSpeed(mode);
        EXPECT_EQ(view->baseClass().speed, speeds[mode]) << mode;
    }
    view->setSpeed(0);
    view->setSpeed(-1);
    view->setSpeed(9);
    EXPECT_EQ(view->baseClass().speed, 2);

    tick(row({{10, 1}}));
    EXPECT_EQ(WaterfallViewScale, (CGSize{1, 64}));
    // Two units of 64 pixels: the new row fills the view.
    EXPECT_EQ(alpha(10, kHeight - 1), 255);
}

TEST_F(WaterfallViewTest, CellsAreAsOpaqueAsTheirNoteNormalisedOrRaw)
{
    // Row 0 is new in every pass; the rows below it hold the history.
    const auto expectAlphas = [&](std::map<int, double> opacities) {
        for (const auto& [note, opacity] : opacities) {
            EXPECT_NEAR(alpha(note, 0), opacity * 255, 1) << note;
        }
    };
    tick(row({{0, 0.5f}, {1, 1.0f}, {2, 0.25f}, {3, 0.0f}}));
    expectAlphas({{0, 0.5}, {1, 1.0}, {2, 0.25}, {3, 0.0}});
    EXPECT_NEAR(alpha(0, 1), 128, 1);
    EXPECT_EQ(alpha(0, 2), 0);
    const UIImage::Pixel accent = view->layerContents()->pixel(5, 1);
    EXPECT_NEAR(accent.red, 44, 1);
    EXPECT_NEAR(accent.green, 162, 1);
    EXPECT_NEAR(accent.blue, 193, 1);

    view->baseClass().isNormalized = false;
    tick(row({{0, 0.5f}, {1, 1.0f}, {2, 0.25f}, {4, 50}, {5, 25}, {6, 250}}));
    expectAlphas({{0, 0.005}, {1, 0.01}, {2, 0.0025}, {4, 0.5}, {5, 0.25}, {6, 1.0}});

    view->baseClass().contrast = 0.5;
    tick(row({{4, 50}, {6, 250}}));
    expectAlphas({{4, 0.25}, {6, 0.5}});
}

TEST_F(WaterfallViewTest, EachPassMovesThePictureByOneUnit)
{
    // Two pixels a unit; a chord that climbs a semitone every eight passes.
    UIScreen::main().setScale(2);
    for (int pass = 0; pass < 80; ++pass) {
        const int root = 36 + pass / 8;
        tick(row({{root, 1}, {root + 12, 0.6f}, {root + 19, 0.4f}, {root + 24, 0.25f}}));
    }
    UIScreen::main().setScale(1);
    const UIImage& shown = *view->layerContents();
    keepDrawnImage(shown);
    // The last eight passes lit note 45 in units 0 to 8, the eight before
    // them note 44 in units 8 to 16.
    EXPECT_EQ(shown.pixel(8 * 45, 17).alpha, 255);
    EXPECT_EQ(shown.pixel(8 * 45, 18).alpha, 0);
    EXPECT_EQ(shown.pixel(8 * 44, 15).alpha, 0);
    EXPECT_EQ(shown.pixel(8 * 44, 16).alpha, 255);
    EXPECT_EQ(shown.pixel(8 * 44, 33).alpha, 255);
    EXPECT_EQ(shown.pixel(8 * 44, 34).alpha, 0);

    // Upwards the new row's second unit lies below the canvas.
    view->baseClass().up = true;
    tick(row({{1, 1}}));
    tick(row({{2, 1}}));
    EXPECT_EQ(alpha(2, kHeight - 1), 255);
    EXPECT_EQ(alpha(1, kHeight - 1), 0);
    EXPECT_EQ(alpha(1, kHeight - 2), 255);
}

TEST_F(WaterfallViewTest, RowsThatPaintNothingStillMoveThePicture)
{
    tick(row({{7, 2}}));
    // Silent: the values follow, nothing is painted.
    tick(row({}));
    EXPECT_EQ(view->baseClass().values[7], 0);
    EXPECT_EQ(alpha(7, 0), 0);
    EXPECT_EQ(alpha(7, 2), 255);
    // All below zero: only the smallest is kept.
    tick(row({{7, -3}}));
    EXPECT_EQ(view->baseClass().magnitudeMin, -3);
    EXPECT_EQ(view->baseClass().magnitudeMax, 0);
    // No audio unit (an empty list): the values stay, the extremes reset.
    tick({});
    EXPECT_EQ(view->baseClass().values[7], -3);
    EXPECT_EQ(view->baseClass().magnitudeMin, 0);
    // A short list replaces only the notes it has.
    tick({0.5f});
    EXPECT_EQ(view->baseClass().values[7], -3);
    // No controller: nothing changes but the picture moves.
    view->setViewController({});
    view->baseClass().magnitudeMax = 9;
    tick(row({{7, 1}}));
    EXPECT_EQ(view->baseClass().magnitudeMax, 9);
    EXPECT_EQ(alpha(7, 0), 0);
}

TEST_F(WaterfallViewTest, WhileSuspendedTicksDrawNothing)
{
    tick(row({{5, 1}}));
    view->suspend(true);
    const auto shown = view->layerContents();
    const int requests = view->displayRequestCount();
    tick(row({{6, 1}}));
    EXPECT_EQ(view->displayRequestCount(), requests);
    EXPECT_EQ(view->layerContents(), shown);
    EXPECT_EQ(view->baseClass().values[6], 0);

    // A redraw the platform asks for by itself still adds a row.
    view->setNeedsDisplay();
    window->displayIfNeeded();
    EXPECT_EQ(alpha(6, 0), 255);

    view->suspend(false);
    tick(row({}));
    EXPECT_EQ(view->displayRequestCount(), requests + 2);
    EXPECT_EQ(alpha(6, 2), 255);
}

TEST_F(WaterfallViewTest, MagnitudesThatAreNotFiniteCountAsZero)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    tick(row({{0, std::nanf("")}, {1, kInfinity}, {2, -kInfinity}, {3, 0.5f}, {4, 1.0f}}));
    const auto& base = view->baseClass();
    EXPECT_EQ(base.values[0] + base.values[1] + base.values[2], 0);
    EXPECT_EQ(base.magnitudeMax, 1);
    EXPECT_EQ(base.magnitudeMin, 0);
    EXPECT_EQ(alpha(1, 0), 0);
    EXPECT_NEAR(alpha(3, 0), 128, 1);
}

TEST_F(WaterfallViewTest, PicturesOfAViewInAndOutsideItsWindow)
{
    tick(row({{9, 1}}));
    EXPECT_EQ(ViewImages::_asImage(*view)->pixel(37, 0), view->layerContents()->pixel(37, 0));
    EXPECT_EQ(ViewImages::asImage(*view)->pixel(37, 1), view->layerContents()->pixel(37, 1));

    view->removeFromSuperview();
    EXPECT_EQ(ViewImages::_asImage(*view)->pixel(37, 0).alpha, 0);
    EXPECT_EQ(ViewImages::asImage(*view)->pixel(37, 0).alpha, 255);
}

} // namespace
