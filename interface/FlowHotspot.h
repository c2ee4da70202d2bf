#pragma once

#include "CGPoint.h"

#include <string_view>

class VelmoraFlowViewBase;

// The hit areas of the flow panel, in the order the hit test tries them: the
// band editor lies inside the flow area and the range handles overlap it, so
// they come first.
enum class FlowHotspot {
    none,
    drawer,
    rangeLeft,
    rangeRight,
    flow,
    keys,
    slider,
    speed,
    operation,
    onoff,
    caption1,
    caption2,
    slink,
    left,
    right,
    mid,
    side,
    reset,
    freeze,
};

// The name the hit test prints: "drawer", "range_left", ... ; "" for none.
std::string_view hotspotName(FlowHotspot hotspot);

// The first hit area of `panel` that holds `point` (design units), or none.
FlowHotspot hotspotAt(const VelmoraFlowViewBase& panel, CGPoint point);

// The flag that shows `hotspot` pressed; null for the areas that have none.
bool* pressedFlag(VelmoraFlowViewBase& panel, FlowHotspot hotspot);

// The processing mode a mode button selects (0 LINKED ... 4 SIDE); -1 for
// every other area.
int channelModeOf(FlowHotspot hotspot);
