#include "ReferencePictures.h"

#include "../interface/FakeViewController.h"

#include "ScaleRecords.h"
#include "UIScreen.h"
#include "UIWindow.h"
#include "WaterfallView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A waterfall after a number of passes of a chord that climbs a semitone every
// third pass and breathes in loudness, as shown in its window.
class WaterfallPictures : public testing::Test {
protected:
    void SetUp() override { resetScaleRecords(); }
    void TearDown() override
    {
        UIScreen::main().setScale(1);
        resetScaleRecords();
    }

    std::shared_ptr<UIImage> afterPasses(CGSize size, CGFloat scale, int passes,
                                         const std::function<void(WaterfallView&)>& setUp)
    {
        UIScreen::main().setScale(scale);
        const auto window = std::make_shared<UIWindow>(CGRect({0, 0}, size));
        const auto view = std::make_shared<WaterfallView>(CGRect({0, 0}, size));
        window->addSubview(view);
        view->setViewController(controller);
        setUp(*view);
        for (int pass = 0; pass < passes; ++pass) {
            const int root = 40 + pass / 3;
            const float swell = 0.5f + 0.1f * float(pass % 5);
            controller->magnitudes.assign(128, 0.0f);
            controller->magnitudes[root] = 2 * swell;
            controller->magnitudes[root + 7] = swell;
            controller->magnitudes[root + 12] = 0.7f;
            controller->magnitudes[root + 16] = 0.3f * swell;
            controller->magnitudes[100 - pass] = 0.05f;
            view->update();
            window->displayIfNeeded();
        }
        return view->layerContents();
    }

    std::shared_ptr<FakeViewController> controller = std::make_shared<FakeViewController>();
};

TEST_F(WaterfallPictures, SeveralPassesAtEachSpeed)
{
    for (int mode = 0; mode <= 8; ++mode) {
        const auto image = afterPasses({512, 128}, 1, 12, [&](WaterfallView& view) { view.setSpeed(mode); });
        ASSERT_TRUE(image);
        expectReferencePicture(*image, "waterfall-speed-" + std::to_string(mode));
    }
}

TEST_F(WaterfallPictures, AtTheHostsSizeAndAtDoubleScale)
{
    for (const int mode : {2, 6}) {
        const auto image = afterPasses({562, 544}, 1, 20, [&](WaterfallView& view) { view.setSpeed(mode); });
        ASSERT_TRUE(image);
        expectReferencePicture(*image, "waterfall-host-speed-" + std::to_string(mode));
    }
    const auto doubled = afterPasses({300, 200}, 2, 16, [](WaterfallView& view) { view.setSpeed(4); });
    ASSERT_TRUE(doubled);
    expectReferencePicture(*doubled, "waterfall-scale2");
}

TEST_F(WaterfallPictures, UpwardsRawAndDimmed)
{
    const auto image = afterPasses({512, 128}, 1, 10, [](WaterfallView& view) {
        view.setSpeed(5);
        view.baseClass().up = true;
        view.baseClass().isNormalized = false;
        view.baseClass().contrast = 0.5;
    });
    ASSERT_TRUE(image);
    expectReferencePicture(*image, "waterfall-up-raw-dimmed");
}

} // namespace
