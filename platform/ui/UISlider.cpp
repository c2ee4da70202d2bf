#include "UISlider.h"

#include "UITouch.h"

#include <algorithm>
#include <cmath>

void UISlider::setValue(float value)
{
    if (!std::isnan(value)) {
        value_ = std::clamp(value, minimumValue_, maximumValue_);
    }
}

void UISlider::setRange(float minimum, float maximum)
{
    if (std::isnan(minimum) || std::isnan(maximum)) {
        return;
    }
    minimumValue_ = std::min(minimum, maximum);
    maximumValue_ = std::max(minimum, maximum);
    setValue(value_);
}

void UISlider::touchesBegan(const Touches& touches, UIEvent* event)
{
    UIControl::touchesBegan(touches, event);
    follow(touches);
}

void UISlider::touchesMoved(const Touches& touches, UIEvent* event)
{
    UIControl::touchesMoved(touches, event);
    follow(touches);
}

void UISlider::follow(const Touches& touches)
{
    const CGFloat width = bounds().width();
    if (touches.empty() || width <= 0) {
        return;
    }
    const CGFloat share = (*touches.begin())->location(*this).x / width;
    setValue(static_cast<float>(minimumValue_ + share * (maximumValue_ - minimumValue_)));
    sendActions(UIControlEvents::valueChanged);
}
