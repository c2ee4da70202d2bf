#include "UITouch.h"

#include "UIView.h"

CGPoint UITouch::location(const UIView& view) const
{
    return view.convertFromRoot(location_);
}

CGPoint UITouch::previousLocation(const UIView& view) const
{
    return view.convertFromRoot(previous_);
}

void UITouch::moveTo(CGPoint rootLocation, Phase phase)
{
    previous_ = location_;
    location_ = rootLocation;
    phase_ = phase;
}
