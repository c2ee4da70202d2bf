#include "ExtensionInterface.h"

#include "FlowPanelGeometry.h"
#include "PluginFrameEx.h"
#include "PluginPanelView.h"
#include "UIButton.h"
#include "UILabel.h"
#include "UILongPressGestureRecognizer.h"
#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UISlider.h"
#include "UITapGestureRecognizer.h"
#include "VelmoraFlowView.h"
#include "WaterfallView.h"

#include <string>

namespace {

void makePanel(ExtensionInterface& ui)
{
    const CGRect canvas = FlowPanelGeometry::canvas();
    auto panel = std::make_shared<PluginPanelView>(canvas);
    ui.pluginFrame = std::make_shared<PluginFrameEx>();
    ui.waterfallView = std::make_shared<WaterfallView>();
    ui.velmoraView = std::make_shared<VelmoraFlowView>();
    panel->setPanel(ui.pluginFrame, ui.waterfallView, ui.velmoraView);
    panel->layoutSubviews();
    ui.pluginView = std::move(panel);
    ui.root->addSubview(ui.pluginView);
}

void makeOverlay(ExtensionInterface& ui)
{
    ui.infoView = std::make_shared<UIView>(CGRect(150, 290, 300, 80));
    ui.infoView->setHidden(true);
    ui.infoMessage = std::make_shared<UILabel>(ui.infoView->bounds());
    ui.infoView->addSubview(ui.infoMessage);
    ui.root->addSubview(ui.infoView);
}

std::shared_ptr<UIButton> makeButton(ExtensionInterface& ui, std::string title, CGRect frame)
{
    auto button = std::make_shared<UIButton>(frame);
    button->setTitle(std::move(title));
    button->setHidden(true);
    button->setAlpha(0.5);
    ui.root->addSubview(button);
    return button;
}

// Hidden until a long press shows them; dimmed while the slider is hidden and
// while the panel is free. The buttons and, below them, the slider stand at
// the top left, within the margin that the host's window leaves beside the
// fitted panel, so that they cover none of the panel.
void makeControls(ExtensionInterface& ui)
{
    ui.contrastButton = makeButton(ui, "Contrast", CGRect(8, 8, 40, 40));
    ui.freezeButton = makeButton(ui, "Freeze", CGRect(56, 8, 40, 40));
    ui.brightnessSlider = std::make_shared<UISlider>(CGRect(8, 56, 160, 20));
    ui.brightnessSlider->setRange(0, 1);
    // The frame plate's and the panel's contrast at start.
    ui.brightnessSlider->setValue(1);
    ui.brightnessSlider->setHidden(true);
    ui.root->addSubview(ui.brightnessSlider);
}

// On the root view; none cancels the touches the flow view is tracking, since
// a cancel would release the flow view's touch lock.
void makeRecognisers(ExtensionInterface& ui)
{
    ui.panGesture = std::make_shared<UIPanGestureRecognizer>();
    ui.pinchGesture = std::make_shared<UIPinchGestureRecognizer>();
    ui.doubleTapGesture = std::make_shared<UITapGestureRecognizer>();
    ui.doubleTapGesture->setNumberOfTapsRequired(2);
    ui.tapGesture = std::make_shared<UITapGestureRecognizer>();
    ui.tapGesture->require(ui.doubleTapGesture);
    ui.longPressGesture = std::make_shared<UILongPressGestureRecognizer>();
    const std::shared_ptr<UIGestureRecognizer> recognisers[] = {ui.panGesture, ui.pinchGesture, ui.doubleTapGesture,
                                                               ui.tapGesture, ui.longPressGesture};
    for (const auto& recogniser : recognisers) {
        recogniser->setCancelsTouchesInView(false);
        ui.root->addGestureRecognizer(recogniser);
    }
}

} // namespace

ExtensionInterface ExtensionInterface::load()
{
    ExtensionInterface ui;
    ui.root = std::make_shared<UIView>(FlowPanelGeometry::canvas());
    makePanel(ui);
    makeOverlay(ui);
    makeControls(ui);
    makeRecognisers(ui);
    return ui;
}
