#include "UILabel.h"

#include "CGContext.h"
#include "UIGraphics.h"

#include <algorithm>
#include <cmath>

namespace {

template <typename Value>
bool change(Value& stored, const Value& value)
{
    if (stored == value) {
        return false;
    }
    stored = value;
    return true;
}

} // namespace

void UILabel::setText(std::string text)
{
    if (change(text_, text)) {
        setNeedsDisplay();
    }
}

void UILabel::setFont(const UIFont& font)
{
    if (change(font_, std::optional<UIFont>(font))) {
        setNeedsDisplay();
    }
}

void UILabel::setTextColor(const UIColor& color)
{
    if (change(textColor_, color)) {
        setNeedsDisplay();
    }
}

void UILabel::setTextAlignment(NSTextAlignment alignment)
{
    if (change(textAlignment_, alignment)) {
        setNeedsDisplay();
    }
}

void UILabel::setNumberOfLines(int lines)
{
    if (change(numberOfLines_, std::max(lines, 0))) {
        setNeedsDisplay();
    }
}

void UILabel::draw(CGRect)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    if (context == nullptr || text_.empty() || !font_) {
        return;
    }
    const CGRect box = bounds();
    const NSStringAttributes attributes{*font_, textColor_, textAlignment_, numberOfLines_};
    const CGFloat height = boundingRect(text_, {box.width(), INFINITY}, attributes).height();
    context->saveGState();
    context->clip(box);
    ::draw(text_, CGRect(box.minX(), box.minY() + (box.height() - height) / 2, box.width(), height), attributes);
    context->restoreGState();
}
