#pragma once

#include "CGSize.h"

#include <memory>

class CGContext;
class UIImage;

// The current graphics context: the top of a per-thread stack that drawing
// passes push and pop. None when nothing is drawing.
CGContext* UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(CGContext& context);
void UIGraphicsPopContext();

// An image context of `size` points at `scale` pixels per point (the main
// screen's scale when 0), made current until it is ended. A negative or
// non-finite size counts as 0.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale);
// The picture of the current image context so far; none without one.
std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();
