#include "PluginPanelView.h"

#include "CanvasPlacement.h"
#include "FlowPanelGeometry.h"
#include "PluginFrameEx.h"
#include "VelmoraFlowView.h"
#include "WaterfallView.h"

namespace {

// The panel's flow area below the keyboard strip, in panel design units.
const CGRect kWaterfallArea(44, 82, 512, 496);

} // namespace

void PluginPanelView::setPanel(const std::shared_ptr<PluginFrameEx>& frame,
                               const std::shared_ptr<WaterfallView>& waterfall,
                               const std::shared_ptr<VelmoraFlowView>& flow)
{
    frame_ = frame;
    waterfall_ = waterfall;
    flow_ = flow;
    addSubview(frame);
    addSubview(waterfall);
    addSubview(flow);
}

void PluginPanelView::layoutSubviews()
{
    UIView::layoutSubviews();
    const CGRect area = bounds();
    if (const auto frame = frame_.lock()) {
        frame->setFrame(area);
    }
    if (const auto flow = flow_.lock()) {
        flow->setFrame(area);
    }
    const auto waterfall = waterfall_.lock();
    const CanvasPlacement panel = CanvasPlacement::of(ResizingCase::aspectFit, FlowPanelGeometry::canvas(), area);
    if (waterfall && panel.scale) {
        const CGSize scale = *panel.scale;
        waterfall->setFrame(CGRect(panel.rect.minX() + kWaterfallArea.minX() * scale.width,
                                   panel.rect.minY() + kWaterfallArea.minY() * scale.height,
                                   kWaterfallArea.width() * scale.width, kWaterfallArea.height() * scale.height));
    }
}
