#pragma once

#include "CGFloat.h"

// The screen the interface is shown on; only its scale (pixels per point)
// matters here. The application shell sets it from its monitor.
class UIScreen {
public:
    static UIScreen& main();

    CGFloat scale() const { return scale_; }
    // Ignores a scale that is not a positive finite number.
    void setScale(CGFloat scale);

private:
    UIScreen() = default;

    CGFloat scale_ = 1;
};
