#include "../audiounit/AudioUnitTestSupport.h"
#include "../support/DrawnImages.h"
#include "../support/TemporaryFolder.h"

#include "AVAudioUnit.h"
#include "AudioUnitViewController.h"
#include "Console.h"
#include "RunLoop.h"
#include "UIApplication.h"
#include "UIButton.h"
#include "UIGraphicsImageRenderer.h"
#include "UILongPressGestureRecognizer.h"
#include "UISlider.h"
#include "UIWindow.h"
#include "VelmoraFlowView.h"
#include "ViewController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The real effect's interface embedded in the main screen, in the window the
// application opens.
class EffectPanelLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        window->setRootViewController(screen);
        ASSERT_TRUE(pumpUntil([&] { return printed("ERROR: There were no audio units found."); }));
        const auto unit = effect->createAudioUnit(kEffect);
        unit->setFactory(effect);
        screen->onFoundComponent(std::make_shared<AVAudioUnit>(unit));
        ASSERT_TRUE(pumpUntil([&] { return !screen->children().empty(); }));
        screen->buttonUnit()->sendActions(UIControlEvents::touchUpInside);
        window->layoutIfNeeded();
        // A long press shows the buttons, the contrast button the slider.
        effect->longPressGesture()->setState(UIGestureRecognizerState::began);
        effect->longPressGesture()->setState(UIGestureRecognizerState::ended);
        effect->contrastButton()->sendActions(UIControlEvents::touchUpInside);
    }

    template <class Condition> static bool pumpUntil(Condition done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            RunLoop::main().runPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }
    bool printed(const std::string& line) const
    {
        const auto lines = capture.lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // Draws the window as the screen shows it, which also gives the panel its
    // hit areas.
    std::shared_ptr<UIImage> snapshot() const
    {
        return UIGraphicsImageRenderer(window->bounds().size, 1).image(
            [&](CGContext&) { window->drawHierarchy(window->bounds(), true); });
    }

    static CGRect inWindow(const UIView& view, const CGRect& rect)
    {
        const CGPoint from = view.convertToRoot(rect.origin);
        const CGPoint to = view.convertToRoot({rect.maxX(), rect.maxY()});
        return CGRect(from.x, from.y, to.x - from.x, to.y - from.y);
    }

    // The panel's hit areas in window coordinates: its 600 x 660 canvas is
    // drawn as large as the flow view allows and centred in it.
    std::vector<std::pair<std::string, CGRect>> hotspots() const
    {
        const auto& flow = *effect->velmoraView();
        const auto& panel = flow.baseClass();
        const CGRect bounds = flow.bounds();
        const CGFloat scale = std::min(bounds.width() / 600, bounds.height() / 660);
        const CGFloat left = (bounds.width() - 600 * scale) / 2;
        const CGFloat top = (bounds.height() - 660 * scale) / 2;
        const std::pair<std::string, const UIBezierPath*> paths[] = {
            {"flow", &panel.hotspotFlowPath},           {"slider", &panel.hotspotSliderPath},
            {"drawer", &panel.hotspotDrawerPath},       {"caption1", &panel.hotspotCaptionPath},
            {"speed", &panel.hotspotSpeedPath},         {"operation", &panel.hotspotRangePath},
            {"onoff", &panel.hotspotButtonOnOffPath},   {"caption2", &panel.hotspotCaption2Path},
            {"keys", &panel.hotspotKeysPath},           {"slink", &panel.hotspotButtonMonoPath},
            {"left", &panel.hotspotButtonLeftPath},     {"right", &panel.hotspotButtonRightPath},
            {"mid", &panel.hotspotButtonMidPath},       {"side", &panel.hotspotButtonSidePath},
            {"reset", &panel.hotspotResetPath},         {"freeze", &panel.hotspotButtonFreezePath},
            {"range_left", &panel.hotspotLeftPath},     {"range_right", &panel.hotspotRightPath},
        };
        std::vector<std::pair<std::string, CGRect>> areas;
        for (const auto& [name, path] : paths) {
            const CGRect design = path->bounds();
            areas.emplace_back(name, inWindow(flow, CGRect(left + design.minX() * scale, top + design.minY() * scale,
                                                           design.width() * scale, design.height() * scale)));
        }
        return areas;
    }

    TemporaryFolder home;
    ScopedEnvironment data{"XDG_DATA_HOME", home.path().string()};
    Console::Capture capture;
    std::shared_ptr<UIWindow> window =
        std::make_shared<UIWindow>(CGRect(0, 0, UIApplication::kWindowWidth, UIApplication::kWindowHeight));
    std::shared_ptr<ViewController> screen = std::make_shared<ViewController>();
    std::shared_ptr<AudioUnitViewController> effect = std::make_shared<AudioUnitViewController>();
};

} // namespace

TEST_F(EffectPanelLayout, TheShownControlsLieBesideThePanelsHitAreas)
{
    keepDrawnImage(*snapshot());
    const std::pair<std::string, const UIView*> controls[] = {
        {"Contrast", effect->contrastButton().get()},
        {"Freeze", effect->freezeButton().get()},
        {"brightness", effect->brightnessSlider().get()},
    };
    const auto areas = hotspots();
    ASSERT_GT(areas.front().second.width(), 500) << "the panel has drawn";
    for (const auto& [control, view] : controls) {
        ASSERT_FALSE(view->isHidden()) << control;
        const CGRect frame = inWindow(*view, view->bounds());
        for (const auto& [area, rect] : areas) {
            EXPECT_FALSE(frame.intersects(rect)) << control << " covers " << area;
        }
    }
}
