#include "FlowPanelGeometry.h"

#include "KeyIndex.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat bandsLeft = 45;
constexpr CGFloat bandWidth = 4;
constexpr CGFloat bandsTop = 417;
constexpr CGFloat bandsHeight = 128;
constexpr CGFloat flowLeft = 44;
constexpr CGFloat flowTop = 67;
constexpr CGFloat flowSize = 512;
constexpr CGFloat gridSteps = 128;

} // namespace

CGFloat FlowPanelGeometry::unit(CGFloat value)
{
    if (!(value > 0.0)) {
        return 0.0;
    }
    return std::min(value, 1.0);
}

CGFloat FlowPanelGeometry::onGrid(CGFloat value)
{
    return std::trunc(value * gridSteps) / gridSteps;
}

int FlowPanelGeometry::bandAt(CGFloat x)
{
    return truncatedKey((x - bandsLeft - bandWidth / 2) / bandWidth);
}

CGFloat FlowPanelGeometry::bandValueAt(CGFloat y)
{
    return 1.0 - unit((y - bandsTop) / bandsHeight);
}

CGFloat FlowPanelGeometry::crossHorizontalAt(CGFloat x)
{
    return onGrid(unit((x - flowLeft) / flowSize));
}

CGFloat FlowPanelGeometry::crossVerticalAt(CGFloat y)
{
    return unit((y - flowTop) / flowSize);
}

CGFloat FlowPanelGeometry::knobValue(CGFloat saved, CGFloat dx, CGFloat dy, CGFloat drag)
{
    // The amount is taken in single precision, as the panel always did.
    const float amount = static_cast<float>(dy - dx) / 2.0f / static_cast<float>(drag);
    return unit(saved - static_cast<CGFloat>(std::clamp(amount, -1.0f, 1.0f)));
}
