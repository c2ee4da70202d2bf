#pragma once

#include "UIView.h"

#include <memory>

class PluginFrameEx;
class VelmoraFlowView;
class WaterfallView;

// The panel's container: the frame plate behind, the waterfall over the
// panel's flow area, and the flow view in front. At each layout pass the plate
// and the flow view fill the container and the waterfall follows the flow area
// wherever the panel's drawing puts it (its canvas fitted and centred).
class PluginPanelView : public UIView {
public:
    using UIView::UIView;

    // Adds the three views as subviews, back to front.
    void setPanel(const std::shared_ptr<PluginFrameEx>& frame, const std::shared_ptr<WaterfallView>& waterfall,
                  const std::shared_ptr<VelmoraFlowView>& flow);

    void layoutSubviews() override;

private:
    std::weak_ptr<PluginFrameEx> frame_;
    std::weak_ptr<WaterfallView> waterfall_;
    std::weak_ptr<VelmoraFlowView> flow_;
};
