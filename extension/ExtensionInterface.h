#pragma once

#include <memory>

class PluginFrameEx;
class UIButton;
class UILabel;
class UILongPressGestureRecognizer;
class UIPanGestureRecognizer;
class UIPinchGestureRecognizer;
class UISlider;
class UITapGestureRecognizer;
class UIView;
class VelmoraFlowView;
class WaterfallView;

// The plug-in's interface, built in code as an interface file would build it,
// with every outlet of the view controller connected. The root view holds the
// panel (its container, the frame plate, the waterfall and the flow view),
// the hidden information overlay and the three controls, and carries the five
// gesture recognisers. The controls' and recognisers' actions are left for the
// controller to connect.
struct ExtensionInterface {
    // A new interface at the panel's natural size, 600 x 660.
    static ExtensionInterface load();

    std::shared_ptr<UIView> root;
    std::shared_ptr<PluginFrameEx> pluginFrame;
    std::shared_ptr<UIView> pluginView;
    std::shared_ptr<VelmoraFlowView> velmoraView;
    std::shared_ptr<WaterfallView> waterfallView;
    std::shared_ptr<UIView> infoView;
    std::shared_ptr<UILabel> infoMessage;
    std::shared_ptr<UIButton> contrastButton;
    std::shared_ptr<UISlider> brightnessSlider;
    std::shared_ptr<UIButton> freezeButton;
    std::shared_ptr<UIPanGestureRecognizer> panGesture;
    std::shared_ptr<UIPinchGestureRecognizer> pinchGesture;
    std::shared_ptr<UITapGestureRecognizer> doubleTapGesture;
    std::shared_ptr<UITapGestureRecognizer> tapGesture;
    std::shared_ptr<UILongPressGestureRecognizer> longPressGesture;
};
