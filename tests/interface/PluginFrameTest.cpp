#include "../support/DrawnImages.h"
#include "PluginFrameBaseEx.h"
#include "PluginFrameEx.h"
#include "ScaleRecords.h"
#include "UIGraphicsImageRenderer.h"
#include "UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Pixel = UIImage::Pixel;

class PluginFrameTest : public testing::Test {
protected:
    void SetUp() override { resetScaleRecords(); }
    void TearDown() override { resetScaleRecords(); }

    static std::shared_ptr<UIImage> drawn(CGSize size, const std::function<void()>& drawing,
                                          const std::string& suffix = "")
    {
        auto image = UIGraphicsImageRenderer(size, 1).image([&](CGContext&) { drawing(); });
        keepDrawnImage(*image, suffix);
        return image;
    }
};

bool isClear(const Pixel& pixel) { return pixel.alpha == 0; }
bool isPartial(const Pixel& pixel) { return pixel.alpha > 0 && pixel.alpha < 255; }

// Checks the plate covering the whole-pixel rectangle `plate`: opaque `level`
// grey inside its straight edges, nothing outside them, and at each corner the
// coverage that a radius of 4 gives (clear corner pixel, partly covered pixels
// where the arc passes, fully covered 4 pixels along the edge).
void expectPlate(const UIImage& image, const CGRect& plate, CGFloat level)
{
    const int left = static_cast<int>(plate.minX());
    const int top = static_cast<int>(plate.minY());
    const int right = static_cast<int>(plate.maxX()) - 1;
    const int bottom = static_cast<int>(plate.maxY()) - 1;
    const int midX = (left + right) / 2;
    const int midY = (top + bottom) / 2;
    const auto grey = static_cast<std::uint8_t>(std::lround(level * 255));
    for (const auto& [x, y] : {std::pair{midX, midY}, {left, midY}, {right, midY}, {midX, top}, {midX, bottom}}) {
        const Pixel pixel = image.pixel(x, y);
        EXPECT_EQ(pixel.alpha, 255) << x << "," << y;
        EXPECT_NEAR(pixel.red, grey, 1) << x << "," << y;
        EXPECT_EQ(pixel.red, pixel.green);
        EXPECT_EQ(pixel.red, pixel.blue);
    }
    for (const auto& [x, y] : {std::pair{left - 1, midY}, {right + 1, midY}, {midX, top - 1}, {midX, bottom + 1}}) {
        EXPECT_TRUE(isClear(image.pixel(x, y))) << x << "," << y;
    }
    for (const auto& [cornerX, inwardX] : {std::pair{left, 1}, {right, -1}}) {
        for (const auto& [cornerY, inwardY] : {std::pair{top, 1}, {bottom, -1}}) {
            const auto at = [&](int alongX, int alongY) {
                return image.pixel(cornerX + inwardX * alongX, cornerY + inwardY * alongY);
            };
            EXPECT_TRUE(isClear(at(0, 0))) << cornerX << "," << cornerY;
            EXPECT_TRUE(isPartial(at(1, 1))) << cornerX << "," << cornerY;
            EXPECT_TRUE(isPartial(at(0, 3))) << cornerX << "," << cornerY;
            EXPECT_TRUE(isPartial(at(3, 0))) << cornerX << "," << cornerY;
            EXPECT_EQ(at(2, 2).alpha, 255) << cornerX << "," << cornerY;
            EXPECT_EQ(at(0, 4).alpha, 255) << cornerX << "," << cornerY;
            EXPECT_EQ(at(4, 0).alpha, 255) << cornerX << "," << cornerY;
        }
    }
}

TEST_F(PluginFrameTest, ViewShowsAnInsetRoundedPlateInItsContrastGrey)
{
    const auto window = std::make_shared<UIWindow>(CGRect(0, 0, 500, 400));
    const auto frame = std::make_shared<PluginFrameEx>(CGRect(50, 40, 400, 300));
    window->addSubview(frame);
    frame->setContrast(0.25f);
    PluginFrameViewScale = {0, 0};
    window->displayIfNeeded();
    ASSERT_TRUE(frame->layerContents());
    keepDrawnImage(*frame->layerContents());
    expectPlate(*frame->layerContents(), {2, 2, 396, 296}, 0.25);
    EXPECT_EQ(PluginFrameViewScale, (CGSize{1, 1}));
}

TEST_F(PluginFrameTest, ANewViewDrawsWhiteAndKeepsTheLightGrey)
{
    const auto frame = std::make_shared<PluginFrameEx>(CGRect(0, 0, 120, 90));
    EXPECT_EQ(frame->contrast(), 1.0f);
    EXPECT_EQ(frame->mainColor(), UIColor::lightGray());
    const auto image = drawn({120, 90}, [&] { frame->draw(frame->bounds()); });
    expectPlate(*image, {2, 2, 116, 86}, 1.0);
}

TEST_F(PluginFrameTest, PlateIsDrawnAtScaleOneWhateverTheResizing)
{
    const CGRect frame(10, 20, 100, 50);
    PluginFrameBaseEx base;
    EXPECT_EQ(base.contrast(), 0.25);
    for (const auto raw : {0, 1, 2, 3}) {
        PluginFrameViewScale = {0, 0};
        const auto resizing = *PluginFrameBaseEx::ResizingBehavior::fromRaw(raw);
        const auto image = drawn({130, 90}, [&] { base.draw(frame, resizing); }, std::to_string(raw));
        expectPlate(*image, {12, 22, 96, 46}, 0.25);
        EXPECT_EQ(PluginFrameViewScale, (CGSize{1, 1}));
    }
}

TEST_F(PluginFrameTest, FramesTooSmallForAPlateDrawNothing)
{
    PluginFrameBaseEx base;
    base.setContrast(0.5);
    PluginFrameViewScale = {2, 2};
    const auto image = drawn({8, 8}, [&] {
        base.draw(CGRect());
        base.draw(CGRect(0, 0, 4, 8));
    });
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_TRUE(isClear(image->pixel(x, y))) << x << "," << y;
        }
    }
    EXPECT_EQ(PluginFrameViewScale, (CGSize{1, 1}));
}

TEST_F(PluginFrameTest, DrawingWithoutACurrentContextDoesNothing)
{
    PluginFrameViewScale = {2, 2};
    PluginFrameEx frame(CGRect(0, 0, 40, 40));
    frame.draw(frame.bounds());
    EXPECT_EQ(PluginFrameViewScale, (CGSize{2, 2}));
}

} // namespace
