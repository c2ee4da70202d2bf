#include "FlowHotspot.h"

#include "VelmoraFlowViewBase.h"

#include <array>
#include <utility>

namespace {

using enum FlowHotspot;

constexpr std::array<std::pair<FlowHotspot, std::string_view>, 19> names{{
    {none, ""},          {drawer, "drawer"},     {rangeLeft, "range_left"},
    {rangeRight, "range_right"}, {flow, "flow"}, {keys, "keys"},
    {slider, "slider"},  {speed, "speed"},       {operation, "operation"},
    {onoff, "onoff"},    {caption1, "caption1"}, {caption2, "caption2"},
    {slink, "slink"},    {left, "left"},         {right, "right"},
    {mid, "mid"},        {side, "side"},         {reset, "reset"},
    {freeze, "freeze"},
}};

} // namespace

std::string_view hotspotName(FlowHotspot hotspot)
{
    return names[static_cast<std::size_t>(hotspot)].second;
}

FlowHotspot hotspotAt(const VelmoraFlowViewBase& panel, CGPoint point)
{
    const std::pair<FlowHotspot, const UIBezierPath*> areas[] = {
        {drawer, &panel.hotspotDrawerPath},
        {rangeLeft, &panel.hotspotLeftPath},
        {rangeRight, &panel.hotspotRightPath},
        {flow, &panel.hotspotFlowPath},
        {keys, &panel.hotspotKeysPath},
        {slider, &panel.hotspotSliderPath},
        {speed, &panel.hotspotSpeedPath},
        {operation, &panel.hotspotRangePath},
        {onoff, &panel.hotspotButtonOnOffPath},
        {caption1, &panel.hotspotCaptionPath},
        {caption2, &panel.hotspotCaption2Path},
        {slink, &panel.hotspotButtonMonoPath},
        {left, &panel.hotspotButtonLeftPath},
        {right, &panel.hotspotButtonRightPath},
        {mid, &panel.hotspotButtonMidPath},
        {side, &panel.hotspotButtonSidePath},
        {reset, &panel.hotspotResetPath},
        {freeze, &panel.hotspotButtonFreezePath},
    };
    for (const auto& [hotspot, path] : areas) {
        if (path->contains(point)) {
            return hotspot;
        }
    }
    return none;
}

bool* pressedFlag(VelmoraFlowViewBase& panel, FlowHotspot hotspot)
{
    switch (hotspot) {
    case rangeLeft: return &panel.isRangeLeftActive;
    case rangeRight: return &panel.isRangeRightActive;
    case slider: return &panel.isSliderActive;
    case speed: return &panel.isOptionSpeedActive;
    case operation: return &panel.isOptionRangeActive;
    case slink: return &panel.isButtonModeMonoActive;
    case left: return &panel.isButtonModeLeftActive;
    case right: return &panel.isButtonModeRightActive;
    case mid: return &panel.isButtonModeMidActive;
    case side: return &panel.isButtonModeSideActive;
    case reset: return &panel.isButtonResetActive;
    case freeze: return &panel.isButtonFreezeActive;
    default: return nullptr;
    }
}

int channelModeOf(FlowHotspot hotspot)
{
    switch (hotspot) {
    case slink: return 0;
    case left: return 1;
    case right: return 2;
    case mid: return 3;
    case side: return 4;
    default: return -1;
    }
}
