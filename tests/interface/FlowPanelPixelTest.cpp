#include "../support/DrawnImages.h"
#include "CGContext.h"
#include "ScaleRecords.h"
#include "UIGraphicsImageRenderer.h"
#include "VelmoraFlowViewBase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

static void PrintTo(const UIImage::Pixel& pixel, std::ostream* out)
{
    *out << "(" << +pixel.red << ", " << +pixel.green << ", " << +pixel.blue << ", " << +pixel.alpha << ")";
}

namespace {

using Pixel = UIImage::Pixel;

const Pixel kBackdrop{128, 128, 128, 255};
const Pixel kAccent{44, 162, 193, 255};
const Pixel kBlack{0, 0, 0, 255};
const Pixel kWhite{255, 255, 255, 255};

// `colour` at `alpha` over the backdrop.
Pixel overBackdrop(const Pixel& colour, double alpha)
{
    const auto mix = [alpha](int top) {
        return static_cast<std::uint8_t>(std::lround(alpha * top + (1 - alpha) * 128));
    };
    return {mix(colour.red), mix(colour.green), mix(colour.blue), 255};
}

MATCHER_P(Near, expected, "")
{
    return std::abs(arg.red - expected.red) <= 2 && std::abs(arg.green - expected.green) <= 2 &&
           std::abs(arg.blue - expected.blue) <= 2 && arg.alpha == expected.alpha;
}

// The panel drawn twice its design size, one pixel per point, over an opaque
// grey (several of its fills are translucent).
class FlowPanelPixelTest : public testing::Test {
protected:
    void SetUp() override { resetScaleRecords(); }
    void TearDown() override { resetScaleRecords(); }

    // Draws the panel and keeps the picture for a person to look at.
    void drawn(const std::string& suffix = "")
    {
        image = UIGraphicsImageRenderer({1200, 1320}, 1).image([&](CGContext& context) {
            context.setFillColor(UIColor(128 / 255.0, 1));
            context.fill({0, 0, 1200, 1320});
            panel.draw({0, 0, 1200, 1320});
        });
        keepDrawnImage(*image, suffix);
    }
    Pixel at(int x, int y) const { return image->pixel(x, y); }

    VelmoraFlowViewBase panel;
    std::shared_ptr<UIImage> image;
};

TEST_F(FlowPanelPixelTest, DefaultPanelDrawsItsControlsWhereTheyBelong)
{
    drawn();
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{2, 2}));
    EXPECT_THAT(at(351, 962), Near(kBlack));       // band 32 at 0.5
    EXPECT_THAT(at(108, 148), Near(kWhite));       // white key 2
    EXPECT_THAT(at(100, 142), Near(kBlack));       // black key 1
    EXPECT_THAT(at(602, 1160), Near(kAccent));     // mix knob at 0.5
    EXPECT_THAT(at(40, 600), Near(overBackdrop(kAccent, 0.5)));
    EXPECT_THAT(at(1160, 600), Near(overBackdrop(kAccent, 0.5)));
    EXPECT_THAT(at(660, 564), Near(kAccent));      // cross-hair circle
    EXPECT_THAT(at(56, 900), Near(kAccent));       // drawer outline
    EXPECT_THAT(at(80, 900), Near(overBackdrop(kWhite, 0.8)));
    EXPECT_THAT(at(76, 1256), Near(overBackdrop(kAccent, 0.2))); // LINKED selected
    EXPECT_THAT(at(144, 1220), Near(kBackdrop));
}

TEST_F(FlowPanelPixelTest, StateMovesLightsAndGrowsTheControls)
{
    panel.valueHandle[32] = 1.0;
    panel.isKeySelected[60] = true;
    panel.valueMix = 0;
    panel.isRangeLeftActive = true;
    panel.valueProcessingMode = 7;
    drawn();
    EXPECT_THAT(at(351, 837), Near(kBlack)); // on the drawer's edge
    EXPECT_THAT(at(351, 950), Near(overBackdrop(kWhite, 0.8)));
    EXPECT_THAT(at(572, 148), Near(kAccent));
    EXPECT_THAT(at(264, 1160), Near(kAccent));
    EXPECT_THAT(at(602, 1150), Near(kBackdrop));
    EXPECT_THAT(at(40, 600), Near(kAccent));
    EXPECT_THAT(at(76, 1256), Near(kBackdrop)); // no mode selected

    panel.valueMix = 1;
    panel.isHandleSelected[32] = true;
    panel.valueHandle[32] = 0.5;
    panel.valueRangeLeft = 0.5;
    panel.isButtonModeMonoActive = true;
    panel.isSliderActive = true;
    drawn("Pressed");
    EXPECT_THAT(at(351, 967), Near(kAccent)); // selected, radius 8
    EXPECT_THAT(at(351, 975), Near(overBackdrop(kWhite, 0.8)));
    EXPECT_THAT(at(40, 600), Near(kBackdrop));
    EXPECT_THAT(at(40 + 508, 600), Near(kAccent));
    EXPECT_THAT(at(144, 1220), Near(kBlack));
    // The pressed slider grows by a fifth about its centre: the knob at 1
    // moves from x 940 to 1007.6, and its fill reaches 19.2 px instead of 16.
    EXPECT_THAT(at(1007, 1160 - 18), Near(kAccent));
}

TEST_F(FlowPanelPixelTest, HiddenItemsAreNotDrawn)
{
    panel.isDrawerVisible = false;
    panel.isRangeVisible = false;
    panel.isCrossVisible = false;
    drawn("Hidden");
    for (const auto& [x, y] : {std::pair{56, 900}, {80, 900}, {351, 962}, {40, 600}, {1160, 600}, {660, 564}}) {
        EXPECT_THAT(at(x, y), Near(kBackdrop)) << x << "," << y;
    }
}

} // namespace
