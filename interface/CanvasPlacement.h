#pragma once

#include "CGRect.h"
#include "ResizingCase.h"

#include <optional>

// Where a design canvas lands when it is resized into a target rectangle,
// centred there, and the scale that was chosen for it.
struct CanvasPlacement {
    CGRect rect;
    // None when the target is the zero rectangle: nothing was resized, so the
    // scale recorded by an earlier pass must stay.
    std::optional<CGSize> scale;

    // A canvas equal to its target is drawn at scale (1, 1) and says so, so
    // that touches at the natural size map back to design units.
    static CanvasPlacement of(ResizingCase resizing, const CGRect& canvas, const CGRect& target);
};
