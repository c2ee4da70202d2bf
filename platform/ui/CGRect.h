#pragma once

#include "CGPoint.h"
#include "CGSize.h"

#include <algorithm>
#include <cmath>

// A rectangle whose size may be negative; the edge and size readers work on
// the standardized rectangle (smallest edges, positive size).
struct CGRect {
    CGPoint origin;
    CGSize size;

    CGRect() = default;
    CGRect(CGPoint origin, CGSize size) : origin(origin), size(size) {}
    CGRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height)
        : origin{x, y}, size{width, height}
    {
    }

    CGFloat minX() const { return std::min(origin.x, origin.x + size.width); }
    CGFloat minY() const { return std::min(origin.y, origin.y + size.height); }
    CGFloat maxX() const { return std::max(origin.x, origin.x + size.width); }
    CGFloat maxY() const { return std::max(origin.y, origin.y + size.height); }
    CGFloat width() const { return std::abs(size.width); }
    CGFloat height() const { return std::abs(size.height); }

    bool operator==(const CGRect&) const = default;
};
