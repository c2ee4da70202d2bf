#include "PluginFrameEx.h"

void PluginFrameEx::draw(CGRect rect)
{
    baseClass_.setContrast(contrast_);
    baseClass_.setMainColor(mainColor_);
    baseClass_.draw(rect);
}
