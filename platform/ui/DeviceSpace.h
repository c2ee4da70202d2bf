#pragma once

#include "CGAffineTransform.h"

// A graphics context's map from user space into device pixels, and whether
// anything can be painted through it: once the map is singular (a zero or
// non-finite scale) nothing is, whatever follows, until the state it belongs
// to is restored. A context and whoever follows its steps without painting
// keep it alike.
struct DeviceSpace {
    CGAffineTransform ctm;
    bool paintable = true;

    // `step` followed by the map becomes the map; answers whether anything
    // can still be painted.
    bool concatenate(const CGAffineTransform& step)
    {
        ctm = step.concatenating(ctm);
        paintable = paintable && ctm.isInvertible();
        return paintable;
    }
};
