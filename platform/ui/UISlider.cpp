#include "UISlider.h"

#include "CGContext.h"
#include "UIBezierPath.h"
#include "UIGraphics.h"
#include "UITouch.h"

#include <algorithm>
#include <cmath>

namespace {

const UIColor kTrack(0.86, 1);
const UIColor kFilledTrack(0.62, 1);
const UIColor kThumb(0.86, 1);
const UIColor kThumbEdge(0.1, 1);
constexpr CGFloat kTrackHeight = 4;
constexpr CGFloat kThumbDiameter = 20;

} // namespace

void UISlider::setValue(float value)
{
    if (!std::isnan(value)) {
        value_ = std::clamp(value, minimumValue_, maximumValue_);
        setNeedsDisplay();
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

void UISlider::draw(CGRect)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    const CGRect area = bounds();
    if (context == nullptr || area.width() <= 0) {
        return;
    }
    const CGFloat diameter = std::min({kThumbDiameter, area.height(), area.width()});
    const CGFloat range = maximumValue_ - minimumValue_;
    const CGFloat share = range > 0 ? (value_ - minimumValue_) / range : 0;
    // The thumb's centre travels between the ends, its edge never beyond them.
    const CGFloat centreX = diameter / 2 + share * (area.width() - diameter);
    const CGFloat middle = area.height() / 2;
    const CGRect track(0, middle - kTrackHeight / 2, area.width(), kTrackHeight);
    context->setFillColor(kTrack);
    context->fillPath(UIBezierPath::roundedRect(track, kTrackHeight / 2));
    context->setFillColor(kFilledTrack);
    context->fillPath(UIBezierPath::roundedRect(CGRect(0, track.minY(), centreX, kTrackHeight), kTrackHeight / 2));
    auto thumb = UIBezierPath::ovalIn(CGRect(centreX - diameter / 2 + 0.5, middle - diameter / 2 + 0.5, diameter - 1,
                                             diameter - 1));
    context->setFillColor(kThumb);
    context->fillPath(thumb);
    thumb.setLineWidth(1);
    context->setStrokeColor(kThumbEdge);
    context->strokePath(thumb);
}
