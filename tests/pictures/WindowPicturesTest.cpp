#include "ReferencePictures.h"

#include "../audiounit/AudioUnitTestSupport.h"
#include "../interface/FakeViewController.h"
#include "../support/TemporaryFolder.h"

#include "AudioUnitViewController.h"
#include "CGContext.h"
#include "Console.h"
#include "ManualClock.h"
#include "ScaleRecords.h"
#include "UIButton.h"
#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIScreen.h"
#include "UISlider.h"
#include "UIWindow.h"
#include "WaterfallView.h"
#include "WindowCompositor.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The window as the application shell paints it: its background, then what
// its views show.
std::shared_ptr<UIImage> windowPicture(UIWindow& window, CGFloat scale)
{
    return UIGraphicsImageRenderer(window.bounds().size, scale, true).image([&](CGContext& context) {
        context.setFillColor(UIColor(0.11, 1));
        context.fill(window.bounds());
        window.renderLayer(context);
    });
}

class Plate : public UIView {
public:
    Plate(CGRect frame, UIColor colour) : UIView(frame), colour_(colour) {}

    void draw(CGRect rect) override
    {
        colour_.setFill();
        UIGraphicsGetCurrentContext()->fill(rect);
    }

private:
    UIColor colour_;
};

class WindowPictures : public testing::Test {
protected:
    void SetUp() override
    {
        UIScreen::main().setScale(1);
        resetScaleRecords();
    }
    void TearDown() override
    {
        UIScreen::main().setScale(1);
        resetScaleRecords();
    }
};

TEST_F(WindowPictures, ViewsComposedByFrameTransformAlphaAndHiddenFlag)
{
    const auto window = std::make_shared<UIWindow>(CGRect(0, 0, 120, 60));
    const auto back = std::make_shared<Plate>(CGRect(4, 4, 112, 52), UIColor::white());
    const auto faded = std::make_shared<Plate>(CGRect(6, 6, 30, 30), UIColor(0, 0, 1, 1));
    const auto inner = std::make_shared<Plate>(CGRect(10, 10, 30, 12), UIColor(1, 0, 0, 1));
    const auto turned = std::make_shared<Plate>(CGRect(50, 20, 20, 10), UIColor(0, 0.5, 0, 0.8));
    const auto hidden = std::make_shared<Plate>(CGRect(90, 10, 20, 20), UIColor::black());
    window->addSubview(back);
    back->addSubview(faded);
    faded->addSubview(inner);
    back->addSubview(turned);
    back->addSubview(hidden);
    faded->setAlpha(0.5);
    turned->setTransform(CGAffineTransform::rotation(0.4).concatenating(CGAffineTransform::scale(1.5, 1.5)));
    hidden->setHidden(true);
    for (const CGFloat scale : {1.0, 2.0}) {
        UIScreen::main().setScale(scale);
        window->setNeedsDisplay();
        for (const auto& view : {back, faded, inner, turned, hidden}) {
            view->setNeedsDisplay();
        }
        window->displayIfNeeded();
        expectReferencePicture(*windowPicture(*window, scale), "views-composed-scale" + std::to_string(int(scale)));
    }
}

TEST_F(WindowPictures, ButtonsAndSlider)
{
    const auto window = std::make_shared<UIWindow>(CGRect(0, 0, 320, 90));
    const auto unit = std::make_shared<UIButton>(CGRect(8, 8, 88, 28));
    unit->setTitle("Unit");
    const auto contrast = std::make_shared<UIButton>(CGRect(104, 8, 40, 40));
    contrast->setTitle("Contrast");
    contrast->setAlpha(0.5);
    const auto slider = std::make_shared<UISlider>(CGRect(8, 60, 200, 20));
    slider->setRange(0, 2);
    slider->setValue(1.5F);
    for (const auto& view : std::initializer_list<std::shared_ptr<UIView>>{unit, contrast, slider}) {
        window->addSubview(view);
    }
    window->displayIfNeeded();
    expectReferencePicture(*windowPicture(*window, 1), "controls");
}

// The effect's interface as the host shows it: the controller on test time
// with its audio unit, the waterfall fed with rows the test makes, the keys
// lit by the controller's timer.
class EffectWindowPictures : public WindowPictures {
protected:
    void showEffect(CGRect windowFrame, CGRect viewFrame)
    {
        controller->createAudioUnit(kEffect);
        window = std::make_shared<UIWindow>(windowFrame);
        const auto host = std::make_shared<UIView>(viewFrame);
        window->addSubview(host);
        const auto& view = controller->view();
        view->setFrame(host->bounds());
        host->addSubview(view);
        clock.advance(0);
        controller->waterfallView()->setViewController(rows);
    }

    // Timer ticks with a chord that climbs a semitone a tick, each followed
    // by the display pass the shell runs.
    void tick(int count)
    {
        for (int pass = 0; pass < count; ++pass) {
            rows->magnitudes.assign(128, 0.0f);
            rows->magnitudes[50 + pass] = 1.0f;
            rows->magnitudes[57 + pass] = 0.6f;
            rows->magnitudes[62 + pass] = 0.35f;
            clock.advance(0.1);
            window->layoutIfNeeded();
            window->displayIfNeeded();
            if (afterPass) {
                afterPass();
            }
        }
    }

    std::function<void()> afterPass;

    TemporaryFolder home;
    ScopedEnvironment dataHome{"XDG_DATA_HOME", home.path().string()};
    ManualClock clock;
    Console::Capture capture;
    std::shared_ptr<AudioUnitViewController> controller = std::make_shared<AudioUnitViewController>();
    std::shared_ptr<FakeViewController> rows = std::make_shared<FakeViewController>();
    std::shared_ptr<UIWindow> window;
};

TEST_F(EffectWindowPictures, InTheHostsWindowAfterSomeTicks)
{
    showEffect(CGRect(0, 0, 1024, 768), CGRect(0, 44, 1024, 724));
    tick(1);
    expectReferencePicture(*windowPicture(*window, 1), "effect-host-window-1-tick");
    tick(11);
    expectReferencePicture(*windowPicture(*window, 1), "effect-host-window-12-ticks");
}

// As the shell paints it: after each pass only where the window's look
// changed, on the picture it painted before.
TEST_F(EffectWindowPictures, InTheHostsWindowPaintedOnlyWhereItChanged)
{
    showEffect(CGRect(0, 0, 1024, 768), CGRect(0, 44, 1024, 724));
    WindowCompositor compositor{UIColor(0.11, 1)};
    const auto painted = UIImage::adopt(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1024, 768), 1);
    std::size_t area = 0;
    afterPass = [&] {
        const CGRect change = compositor.change({window.get()}, window->bounds().size, 1);
        area += std::size_t(change.width() * change.height());
        cairo_t* cairo = cairo_create(painted->surface());
        {
            CGContext context(cairo);
            compositor.paint(context, {window.get()}, window->bounds().size, change);
        }
        cairo_destroy(cairo);
    };
    tick(1);
    const std::size_t firstArea = area;
    EXPECT_EQ(firstArea, 1024u * 768u);
    tick(11);
    // The panel, whose pictures lie between pixels, holds all that changes:
    // no pass paints the window's edges again.
    EXPECT_LT(area - firstArea, 11u * 1024u * 768u * 3u / 4u);
    expectReferencePicture(*painted, "effect-host-window-12-ticks");
}

TEST_F(EffectWindowPictures, AtItsDesignSizeAtDoubleScale)
{
    UIScreen::main().setScale(2);
    showEffect(CGRect(0, 0, 600, 660), CGRect(0, 0, 600, 660));
    tick(8);
    expectReferencePicture(*windowPicture(*window, 2), "effect-design-size-scale2");
}

} // namespace
