#include "ColorComponents.h"

CGFloat redValue(const UIColor& color)
{
    return color.red();
}

CGFloat greenValue(const UIColor& color)
{
    return color.green();
}

CGFloat blueValue(const UIColor& color)
{
    return color.blue();
}

CGFloat alphaValue(const UIColor& color)
{
    return color.alpha();
}
