#include "ScaleRecords.h"

namespace {

constexpr CGSize kPluginFrameViewScaleStart{1, 1};
constexpr CGSize kUnrecordedScale{0, 0};

} // namespace

CGSize PluginFrameViewScale = kPluginFrameViewScaleStart;
CGSize WaterfallViewScale = kUnrecordedScale;
CGSize VelmoraFlowViewScale = kUnrecordedScale;

void resetScaleRecords()
{
    PluginFrameViewScale = kPluginFrameViewScaleStart;
    WaterfallViewScale = kUnrecordedScale;
    VelmoraFlowViewScale = kUnrecordedScale;
}
