#include "UIButton.h"

#include "CGContext.h"
#include "NSStringDrawing.h"
#include "UIBezierPath.h"
#include "UIGraphics.h"

#include <algorithm>

namespace {

const UIColor kFace(0.86, 1);
const UIColor kPressedFace(0.62, 1);
const UIColor kTitle(0.1, 1);
constexpr CGFloat kCornerRadius = 5;
constexpr const char* kTitleFont = "HelveticaNeue";
constexpr CGFloat kTitleSize = 14;
constexpr CGFloat kTitleInset = 3;

} // namespace

void UIButton::setTitle(std::string title)
{
    title_ = std::move(title);
    setNeedsDisplay();
}

void UIButton::draw(CGRect)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    if (context == nullptr) {
        return;
    }
    context->setFillColor(isTracking() ? kPressedFace : kFace);
    context->fillPath(UIBezierPath::roundedRect(bounds(), std::min(kCornerRadius, bounds().height() / 2)));
    const auto font = UIFont::named(kTitleFont, kTitleSize);
    if (title_.empty() || !font) {
        return;
    }
    NSStringAttributes attributes{*font, kTitle, NSTextAlignment::center};
    // A title wider than the face shrinks to fit on one line.
    const CGFloat width = boundingRect(title_, CGSize(0, 0), attributes).width();
    const CGFloat room = bounds().width() - 2 * kTitleInset;
    if (width > room && room > 0) {
        attributes.font = UIFont::named(kTitleFont, kTitleSize * room / width).value_or(*font);
    }
    const CGFloat height = boundingRect(title_, CGSize(0, 0), attributes).height();
    ::draw(title_, CGRect(0, (bounds().height() - height) / 2, bounds().width(), height), attributes);
}

void UIButton::touchesBegan(const Touches& touches, UIEvent* event)
{
    UIControl::touchesBegan(touches, event);
    setNeedsDisplay();
}

void UIButton::touchesEnded(const Touches& touches, UIEvent* event)
{
    UIControl::touchesEnded(touches, event);
    setNeedsDisplay();
}

void UIButton::touchesCancelled(const Touches& touches, UIEvent* event)
{
    UIControl::touchesCancelled(touches, event);
    setNeedsDisplay();
}
