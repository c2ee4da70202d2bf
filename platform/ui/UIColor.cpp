#include "UIColor.h"

#include "CGContext.h"
#include "UIGraphics.h"

void UIColor::setFill() const
{
    if (auto* context = UIGraphicsGetCurrentContext()) {
        context->setFillColor(*this);
    }
}

void UIColor::setStroke() const
{
    if (auto* context = UIGraphicsGetCurrentContext()) {
        context->setStrokeColor(*this);
    }
}

void UIColor::set() const
{
    setFill();
    setStroke();
}
