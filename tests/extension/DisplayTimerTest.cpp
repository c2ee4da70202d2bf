#include "ControllerFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using ::testing::ElementsAre;

namespace {

class DisplayTimer : public ControllerFixture {
protected:
    void SetUp() override
    {
        unit = connectUnit();
        window = showInWindow();
    }

    std::vector<int> litKeys() const
    {
        std::vector<int> keys;
        const auto& selected = controller->velmoraView()->baseClass().isKeySelected;
        for (int key = 0; key < 128; ++key) {
            if (selected[key]) {
                keys.push_back(key);
            }
        }
        return keys;
    }

    // The waterfall's last row as the test wants it, with its drawing kept
    // out of the way.
    void lastRow(std::initializer_list<std::pair<int, CGFloat>> magnitudes)
    {
        auto& values = controller->waterfallView()->baseClass().values;
        values.fill(0);
        for (const auto& [note, magnitude] : magnitudes) {
            values[note] = magnitude;
        }
    }

    void tick() { clock.advance(0.1); }

    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit;
    std::shared_ptr<UIWindow> window;
};

} // namespace

TEST_F(DisplayTimer, AToneThroughTheEffectLightsItsKeyAfterTheWaterfallDrewIt)
{
    unit->allocateRenderResources();
    const AURenderBlock render = unit->renderBlock();
    StereoOutput output(512);
    std::int64_t position = 0;
    const auto tone = sinePull(2 * std::numbers::pi * 440.0 / 48000.0, position);
    for (int call = 0; call < 40; ++call) {
        ASSERT_EQ(output.render(render, 512, tone), noErr);
    }
    const auto waterfall = controller->waterfallView();
    const int requests = waterfall->displayRequestCount();
    tick();
    EXPECT_EQ(waterfall->displayRequestCount(), requests + 1);
    EXPECT_THAT(litKeys(), ElementsAre());
    waterfall->displayIfNeeded();
    EXPECT_EQ(waterfall->baseClass().values[69], 1.0);
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(69));
}

TEST_F(DisplayTimer, LightsAtMostThreeKeysAboveTheThresholdInsideTheRangeLowestFirst)
{
    lastRow({{40, 0.9}, {50, 0.9}, {60, 0.9}, {70, 0.9}, {80, 0.9}});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(40, 50, 60));
    // A silent row leaves the keys lit last.
    lastRow({});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(40, 50, 60));
    lastRow({{30, 0.66}, {31, 0.6601}});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(31));

    auto& panel = controller->velmoraView()->baseClass();
    panel.valueRangeLeft = 0.5;
    panel.valueRangeRight = 0.75;
    lastRow({{62, 1.0}, {63, 1.0}, {95, 1.0}, {96, 1.0}});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(63, 95));

    // A range end the host set lands on its own key, not the one below.
    treeParameter(*unit, 105).setValue(0);
    treeParameter(*unit, 106).setValue(64);
    clock.advance(0);
    lastRow({{64, 1.0}, {65, 1.0}});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(64));
    panel.valueRangeRight = 1.0;
    lastRow({{127, 1.0}});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(127));
}

TEST_F(DisplayTimer, AVisibleWaterfallDrawsARowEveryTenthOfASecond)
{
    const auto waterfall = controller->waterfallView();
    const int requests = waterfall->displayRequestCount();
    clock.advance(0.35);
    EXPECT_EQ(waterfall->displayRequestCount(), requests + 3);
    waterfall->suspend(true);
    tick();
    EXPECT_EQ(waterfall->displayRequestCount(), requests + 3);
    waterfall->suspend(false);
    waterfall->setHidden(true);
    tick();
    EXPECT_EQ(waterfall->displayRequestCount(), requests + 3);
    waterfall->setHidden(false);
    controller->view()->removeFromSuperview();
    tick();
    EXPECT_EQ(waterfall->displayRequestCount(), requests + 3);
}

TEST_F(DisplayTimer, NothingChangesWhileBypassedOrForAHiddenPanel)
{
    const auto waterfall = controller->waterfallView();
    const auto flow = controller->velmoraView();
    lastRow({{20, 1.0}});
    tick();
    const int requests = waterfall->displayRequestCount();

    unit->setShouldBypassEffect(true);
    lastRow({{21, 1.0}});
    clock.advance(0.5);
    EXPECT_EQ(waterfall->displayRequestCount(), requests);
    EXPECT_THAT(litKeys(), ElementsAre(20));
    // Parameter 100 bypasses the kernel but not the display.
    unit->setShouldBypassEffect(false);
    treeParameter(*unit, 100).setValue(1);
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(21));

    flow->setHidden(true);
    lastRow({{22, 1.0}});
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(21));
    flow->setHidden(false);
    controller->pluginView()->setFrame(CGRect(600, 0, 600, 660));
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(21));
    // The topmost view's own flag is not consulted.
    controller->pluginView()->setFrame(CGRect(0, 0, 600, 660));
    window->setHidden(true);
    tick();
    EXPECT_THAT(litKeys(), ElementsAre(22));
}

TEST_F(DisplayTimer, MagnitudesAreACopyOfTheUnitsAndNoneWithoutAUnit)
{
    const auto magnitudes = controller->getMagnitudes();
    EXPECT_EQ(magnitudes.size(), 128u);
    EXPECT_EQ(magnitudes.front(), 0.0f);
    EXPECT_TRUE(std::make_shared<AudioUnitViewController>()->getMagnitudes().empty());
}
