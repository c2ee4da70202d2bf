#pragma once

#include "CGPoint.h"
#include "UIGestureRecognizer.h"

class UIView;

// A drag: its translation is the total movement since the gesture began.
class UIPanGestureRecognizer : public UIGestureRecognizer {
public:
    // The translation in `view`'s coordinate space.
    CGPoint translation(const UIView& view) const;
    // Sets the translation, given in `view`'s coordinate space.
    void setTranslation(CGPoint translation, const UIView& view);

private:
    // Kept in the coordinate space of the topmost view, as touches are.
    CGPoint rootTranslation_;
};
