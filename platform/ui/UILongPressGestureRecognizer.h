#pragma once

#include "UIGestureRecognizer.h"

// A finger held still: it begins once held for the minimum duration and ends
// when lifted.
class UILongPressGestureRecognizer : public UIGestureRecognizer {
public:
    // Seconds; 0.5 by default.
    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }

private:
    double minimumPressDuration_ = 0.5;
};
