#include "CGContext.h"
#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UIScreen.h"
#include "UIWindow.h"

#include <gtest/gtest.h>

namespace {

using Pixel = UIImage::Pixel;

// Paints a translucent square of its colour at its place, so that a picture
// drawn over an uncleared one would show both, or the square twice as dark.
class Square : public UIView {
public:
    using UIView::UIView;

    void draw(CGRect) override
    {
        ++draws;
        UIColor(colour.red(), colour.green(), colour.blue(), 0.5).setFill();
        UIGraphicsGetCurrentContext()->fill(place);
    }

    UIColor colour = UIColor(1, 0, 0, 1);
    CGRect place{0, 0, 2, 2};
    int draws = 0;
};

class ImageReuse : public testing::Test {
protected:
    void SetUp() override
    {
        UIScreen::main().setScale(1);
        window->addSubview(asked);
        window->addSubview(resting);
        window->displayIfNeeded();
    }

    void pass()
    {
        asked->setNeedsDisplay();
        window->displayIfNeeded();
    }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRect(0, 0, 20, 10));
    std::shared_ptr<Square> asked = std::make_shared<Square>(CGRect(0, 0, 8, 8));
    std::shared_ptr<Square> resting = std::make_shared<Square>(CGRect(10, 0, 8, 8));
};

} // namespace

TEST_F(ImageReuse, AViewThatAskedIsRedrawnOnACleanPictureAndOneThatDidNotKeepsItsOwn)
{
    const auto restingPicture = resting->layerContents();
    for (int round = 0; round < 4; ++round) {
        asked->place = round % 2 == 0 ? CGRect(4, 4, 2, 2) : CGRect(0, 0, 2, 2);
        pass();
    }
    EXPECT_EQ(asked->draws, 5);
    EXPECT_EQ(resting->draws, 1);
    EXPECT_EQ(resting->layerContents(), restingPicture);
    // Only the last square, once: nothing of the passes before shows through.
    const UIImage& shown = *asked->layerContents();
    EXPECT_EQ(shown.pixel(0, 0), (Pixel{255, 0, 0, 128}));
    EXPECT_EQ(shown.pixel(4, 4).alpha, 0);
}

TEST_F(ImageReuse, APictureSomeoneStillHoldsIsNeverDrawnInto)
{
    const auto kept = asked->layerContents();
    for (int round = 0; round < 3; ++round) {
        asked->colour = UIColor(0, 0, 1, 1);
        pass();
        EXPECT_NE(asked->layerContents(), kept);
    }
    EXPECT_EQ(kept->pixel(0, 0), (Pixel{255, 0, 0, 128}));
    EXPECT_EQ(asked->layerContents()->pixel(0, 0), (Pixel{0, 0, 255, 128}));
}

TEST(ImageRenderer, DrawsIntoAReusableImageOnlyWhenItFitsAndNothingElseHoldsIt)
{
    const auto paint = [](const UIColor& colour) {
        return [colour](CGContext& context) {
            context.setFillColor(colour);
            context.fill({0, 0, 1, 1});
        };
    };
    const UIGraphicsImageRenderer renderer({3, 2}, 2);
    auto first = renderer.image(paint(UIColor(0, 1, 0, 1)));
    const UIImage* address = first.get();
    auto again = renderer.image(paint(UIColor(0, 0, 1, 1)), std::move(first));
    EXPECT_EQ(again.get(), address);
    EXPECT_EQ(again->pixel(0, 0), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(again->pixel(2, 2).alpha, 0);

    const auto held = again;
    const auto fresh = renderer.image(paint(UIColor(1, 0, 0, 1)), again);
    EXPECT_NE(fresh.get(), address);
    EXPECT_EQ(held->pixel(0, 0), (Pixel{0, 0, 255, 255}));
    for (const auto& other : {UIGraphicsImageRenderer({3, 3}, 2), UIGraphicsImageRenderer({3, 2}, 1),
                              UIGraphicsImageRenderer({3, 2}, 2, true)}) {
        auto spare = renderer.image(paint(UIColor(1, 0, 0, 1)));
        const UIImage* spareAddress = spare.get();
        EXPECT_NE(other.image(paint(UIColor(1, 0, 0, 1)), std::move(spare)).get(), spareAddress);
    }
}

TEST(ImageContexts, AnImageTakenFromAContextStaysAsItWasWhenTheNextContextIsDrawn)
{
    std::shared_ptr<UIImage> pictures[2];
    for (int round = 0; round < 2; ++round) {
        UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
        EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext()->pixel(1, 1).alpha, 0);
        UIColor(round, 0, 1 - round, 1).setFill();
        UIGraphicsGetCurrentContext()->fill({0, 0, 2, 2});
        pictures[round] = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
    }
    EXPECT_EQ(pictures[0]->pixel(1, 1), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(pictures[1]->pixel(1, 1), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pictures[1]->pixel(3, 3).alpha, 0);
}
