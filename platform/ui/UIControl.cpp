#include "UIControl.h"

#include "UITouch.h"

void UIControl::addTarget(Action action, UIControlEvents events)
{
    if (action) {
        targets_.push_back({std::move(action), events});
    }
}

void UIControl::sendActions(UIControlEvents events)
{
    // An action may add targets; those hear the next event, not this one.
    const auto targets = targets_;
    for (const auto& target : targets) {
        if (intersects(target.events, events)) {
            target.action(*this);
        }
    }
}

void UIControl::touchesBegan(const Touches&, UIEvent*)
{
    tracking_ = true;
    sendActions(UIControlEvents::touchDown);
}

void UIControl::touchesMoved(const Touches& touches, UIEvent*)
{
    sendActions(isInside(touches) ? UIControlEvents::touchDragInside
                                  : UIControlEvents::touchDragOutside);
}

void UIControl::touchesEnded(const Touches& touches, UIEvent*)
{
    tracking_ = false;
    sendActions(isInside(touches) ? UIControlEvents::touchUpInside
                                  : UIControlEvents::touchUpOutside);
}

void UIControl::touchesCancelled(const Touches&, UIEvent*)
{
    tracking_ = false;
    sendActions(UIControlEvents::touchCancel);
}

bool UIControl::isInside(const Touches& touches) const
{
    if (touches.empty()) {
        return false;
    }
    const CGPoint point = (*touches.begin())->location(*this);
    const CGRect area = bounds();
    return point.x >= area.minX() && point.x <= area.maxX() && point.y >= area.minY() &&
           point.y <= area.maxY();
}
