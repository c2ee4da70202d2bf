#pragma once

#include "UIColor.h"

// The colour's components in the sRGB space.
CGFloat redValue(const UIColor& color);
CGFloat greenValue(const UIColor& color);
CGFloat blueValue(const UIColor& color);
CGFloat alphaValue(const UIColor& color);
