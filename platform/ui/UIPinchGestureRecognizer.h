#pragma once

#include "CGFloat.h"
#include "UIGestureRecognizer.h"

// Two fingers moving apart or together: its scale is the total factor since
// the gesture began, 1 at the start.
class UIPinchGestureRecognizer : public UIGestureRecognizer {
public:
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale) { scale_ = scale; }

private:
    CGFloat scale_ = 1;
};
