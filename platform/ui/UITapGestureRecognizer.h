#pragma once

#include "UIGestureRecognizer.h"

// One or more taps in quick succession; it recognises (ended) after the last.
class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    int numberOfTapsRequired() const { return numberOfTapsRequired_; }
    void setNumberOfTapsRequired(int taps) { numberOfTapsRequired_ = taps; }

private:
    int numberOfTapsRequired_ = 1;
};
