#include "ControllerFixture.h"
#include "PluginFrameEx.h"
#include "UIButton.h"
#include "UILongPressGestureRecognizer.h"
#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UISlider.h"
#include "UITapGestureRecognizer.h"
#include "UITouch.h"

#include <gtest/gtest.h>

using State = UIGestureRecognizerState;

namespace {

class PanelGestures : public ControllerFixture {
protected:
    void SetUp() override { root = controller->view(); }

    // The host gives the plug-in's view a new size; a layout pass follows.
    CGRect fitInto(CGFloat width, CGFloat height)
    {
        root->setFrame(CGRect(0, 0, width, height));
        root->layoutIfNeeded();
        return panelFrame();
    }

    CGRect panelFrame() const { return controller->currentView()->frame(); }

    void pan(State state, CGPoint translation = {})
    {
        controller->panGesture()->setTranslation(translation, *root);
        controller->panGesture()->setState(state);
    }

    void pinch(State state, CGFloat scale = 1)
    {
        controller->pinchGesture()->setScale(scale);
        controller->pinchGesture()->setState(state);
    }

    void doubleTap() { controller->doubleTapGesture()->setState(State::ended); }
    void longPress(State state) { controller->longPressGesture()->setState(state); }

    // A finger put down and lifted `across` the control's width.
    static void touch(UIControl& control, CGFloat across = 0.5)
    {
        const CGRect bounds = control.bounds();
        const CGPoint at = control.convertToRoot({bounds.width() * across, bounds.height() / 2});
        const UIView::Touches touches{std::make_shared<UITouch>(control.shared_from_this(), at)};
        control.touchesBegan(touches, nullptr);
        control.touchesEnded(touches, nullptr);
    }

    std::shared_ptr<UIView> root;
};

} // namespace

TEST_F(PanelGestures, EachLayoutPassFitsThePanelWithItsAspect)
{
    EXPECT_EQ(fitInto(800, 600), CGRect(127.27272727272731, 0, 545.4545454545454, 600));
    EXPECT_EQ(fitInto(600, 800), CGRect(0, 70, 600, 660));
    // A square view takes the width rule; the panel stands out above and below.
    EXPECT_EQ(fitInto(600, 600), CGRect(0, -30, 600, 660));
    controller->setFitToHeight(false);
    EXPECT_EQ(fitInto(800, 600), CGRect(0, -140.00000000000006, 800, 880.0000000000001));
    EXPECT_EQ(controller->ratio(), 1.1);

    // The panel's own views follow in the same pass.
    EXPECT_EQ(controller->velmoraView()->frame(), CGRect(0, 0, 800, 880.0000000000001));

    // Neither a frozen panel nor a held touch keeps the layout from fitting it.
    touch(*controller->freezeButton());
    controller->setTouchesLocked(true);
    controller->setFitToHeight(true);
    EXPECT_EQ(fitInto(600, 800), CGRect(0, 70, 600, 660));
}

TEST_F(PanelGestures, APinchScalesAboutTheCentreToWidthsFrom128To2048)
{
    fitInto(512, 800);
    const CGRect start = panelFrame();
    ASSERT_EQ(start.width(), 512);
    controller->setTouchesLocked(true);
    pinch(State::began);
    // The flow view's touch does not stop a pinch; the pinch releases it.
    EXPECT_FALSE(controller->touchesLocked());
    const auto expectWidth = [&](CGFloat scale, CGFloat width) {
        pinch(State::changed, scale);
        EXPECT_EQ(panelFrame().width(), width) << "scale " << scale;
        EXPECT_DOUBLE_EQ(panelFrame().height(), start.height() * width / 512) << "scale " << scale;
        EXPECT_DOUBLE_EQ(panelFrame().midX(), start.midX());
        EXPECT_DOUBLE_EQ(panelFrame().midY(), start.midY());
    };
    expectWidth(0.25, 128);
    expectWidth(0.125, 128);
    expectWidth(4, 2048);
    expectWidth(4.5, 2048);
    expectWidth(0.5, 256);

    // A layout pass during the pinch leaves the panel where it is; the next
    // one after it has ended fits it again.
    const CGRect pinched = panelFrame();
    EXPECT_EQ(fitInto(600, 800), pinched);
    pinch(State::ended);
    EXPECT_EQ(panelFrame(), pinched);
    EXPECT_EQ(fitInto(512, 800), start);

    // A cancelled pinch keeps its frame, and its base stays the frame it
    // began with (a pan step shows the base) until a tap takes the frame.
    pinch(State::began);
    pinch(State::changed, 2);
    pinch(State::cancelled);
    EXPECT_EQ(panelFrame().width(), 1024);
    controller->panGesture()->setState(State::changed);
    EXPECT_EQ(panelFrame(), start);
    pinch(State::changed, 2);
    controller->tapGesture()->setState(State::ended);
    controller->doubleTapGesture()->setState(State::failed);
    controller->panGesture()->setState(State::changed);
    EXPECT_EQ(panelFrame().width(), 1024);
}

TEST_F(PanelGestures, APanMovesThePanelUnlessATouchIsHeldOrThePanelIsFrozen)
{
    const CGRect start = fitInto(600, 800);
    pan(State::began);
    pan(State::changed, {30, -40});
    EXPECT_EQ(panelFrame(), CGRect(30, 30, 600, 660));
    pan(State::changed, {-5, 10});
    EXPECT_EQ(panelFrame(), CGRect(-5, 80, 600, 660));
    // A layout pass during the pan leaves the panel where the pan put it.
    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(panelFrame(), CGRect(-5, 80, 600, 660));
    pan(State::ended, {-5, 10});
    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(panelFrame(), start);

    // Moving the brightness slider holds the touch: the pan does nothing,
    // not even at its end, which would release the touch.
    touch(*controller->brightnessSlider(), 0.25);
    ASSERT_TRUE(controller->touchesLocked());
    pan(State::began);
    pan(State::changed, {30, 30});
    pan(State::ended, {30, 30});
    EXPECT_EQ(panelFrame(), start);
    EXPECT_TRUE(controller->touchesLocked());

    // Frozen, the panel stays put even with the touch free.
    controller->tapGesture()->setState(State::ended);
    controller->doubleTapGesture()->setState(State::failed);
    EXPECT_FALSE(controller->touchesLocked());
    touch(*controller->freezeButton());
    pan(State::began);
    pan(State::changed, {30, 30});
    pinch(State::began);
    pinch(State::changed, 0.5);
    EXPECT_EQ(panelFrame(), start);
}

TEST_F(PanelGestures, FreezingTogglesWithItsButtonAndADoubleTapStillFitsThePanel)
{
    const CGRect start = fitInto(800, 600);
    pan(State::began);
    pan(State::changed, {100, 100});
    pan(State::ended, {100, 100});
    touch(*controller->freezeButton());
    EXPECT_FALSE(controller->isSizeable());
    EXPECT_EQ(controller->freezeButton()->alpha(), 1.0);
    controller->setTouchesLocked(true);
    doubleTap();
    EXPECT_EQ(panelFrame(), start);
    EXPECT_FALSE(controller->touchesLocked());
    touch(*controller->freezeButton());
    EXPECT_TRUE(controller->isSizeable());
    EXPECT_EQ(controller->freezeButton()->alpha(), 0.5);
}

TEST_F(PanelGestures, TheBrightnessSliderSetsTheFramesContrastAndThePanels)
{
    const auto frame = controller->pluginFrame();
    const int requests = frame->displayRequestCount();
    touch(*controller->brightnessSlider(), 0.25);
    EXPECT_EQ(frame->contrast(), 0.25f);
    EXPECT_EQ(frame->displayRequestCount(), requests + 1);
    const auto& panel = controller->velmoraView()->baseClass();
    EXPECT_EQ(panel.colorContrast.red(), 0.75);
    EXPECT_EQ(panel.colorContrast.blue(), 0.75);
    EXPECT_EQ(panel.colorContrastInverted.green(), 0.25);
    EXPECT_TRUE(controller->touchesLocked());
}

TEST_F(PanelGestures, TheLongPressAndTheContrastButtonShowAndHideTheControls)
{
    auto& contrast = *controller->contrastButton();
    auto& freeze = *controller->freezeButton();
    auto& slider = *controller->brightnessSlider();
    longPress(State::began);
    EXPECT_FALSE(contrast.isHidden());
    EXPECT_FALSE(freeze.isHidden());
    EXPECT_TRUE(controller->touchesLocked());
    // Its end lights the contrast button, though the slider is hidden.
    longPress(State::ended);
    EXPECT_EQ(contrast.alpha(), 1.0);
    EXPECT_FALSE(controller->touchesLocked());

    touch(contrast);
    EXPECT_FALSE(slider.isHidden());
    EXPECT_TRUE(controller->touchesLocked());
    touch(contrast);
    EXPECT_EQ(contrast.alpha(), 0.5);
    EXPECT_FALSE(controller->touchesLocked());

    // A long press on shown buttons hides both, and the slider with them.
    touch(contrast);
    longPress(State::began);
    EXPECT_TRUE(contrast.isHidden());
    EXPECT_TRUE(freeze.isHidden());
    EXPECT_TRUE(slider.isHidden());
    EXPECT_FALSE(controller->touchesLocked());
}

namespace {

class TransformingController : public AudioUnitViewController {
public:
    using AudioUnitViewController::doScalingTransform;
    using AudioUnitViewController::doTranslationTransform;
};

} // namespace

TEST(PanelTransforms, PlaceAViewAndRedrawItTheScalingOneFromWidth256On)
{
    TransformingController transforming;
    UIView view(CGRect(1, 2, 3, 4));
    const int requests = view.displayRequestCount();
    transforming.doScalingTransform(view, CGRect(0, 0, 512, 512), 0.25);
    transforming.doScalingTransform(view, CGRect(0, 0, 512, 512), 4.5);
    EXPECT_EQ(view.frame(), CGRect(1, 2, 3, 4));
    transforming.doScalingTransform(view, CGRect(0, 0, 512, 512), 0.5);
    EXPECT_EQ(view.frame(), CGRect(128, 128, 256, 256));
    transforming.doTranslationTransform(view, CGRect(10, 20, 30, 40), {5, -5});
    EXPECT_EQ(view.frame(), CGRect(15, 15, 30, 40));
    EXPECT_EQ(view.displayRequestCount(), requests + 2);
}
