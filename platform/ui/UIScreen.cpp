#include "UIScreen.h"

#include <cmath>

UIScreen& UIScreen::main()
{
    static UIScreen screen;
    return screen;
}

void UIScreen::setScale(CGFloat scale)
{
    if (std::isfinite(scale) && scale > 0) {
        scale_ = scale;
    }
}
