#pragma once

#include "CGAffineTransform.h"
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

    static CGRect zero() { return {}; }

    CGFloat minX() const { return std::min(origin.x, origin.x + size.width); }
    CGFloat minY() const { return std::min(origin.y, origin.y + size.height); }
    CGFloat maxX() const { return std::max(origin.x, origin.x + size.width); }
    CGFloat maxY() const { return std::max(origin.y, origin.y + size.height); }
    CGFloat midX() const { return (minX() + maxX()) / 2; }
    CGFloat midY() const { return (minY() + maxY()) / 2; }
    CGFloat width() const { return std::abs(size.width); }
    CGFloat height() const { return std::abs(size.height); }

    // The same area with its origin at the smallest edges and a size that is
    // not negative.
    CGRect standardized() const { return CGRect(minX(), minY(), width(), height()); }
    // The smallest rectangle holding this one's four corners mapped by
    // `transform`.
    CGRect applying(const CGAffineTransform& transform) const
    {
        const CGPoint corners[] = {transform.apply({minX(), minY()}), transform.apply({maxX(), minY()}),
                                   transform.apply({minX(), maxY()}), transform.apply({maxX(), maxY()})};
        CGFloat left = corners[0].x;
        CGFloat right = corners[0].x;
        CGFloat top = corners[0].y;
        CGFloat bottom = corners[0].y;
        for (const CGPoint& corner : corners) {
            left = std::min(left, corner.x);
            right = std::max(right, corner.x);
            top = std::min(top, corner.y);
            bottom = std::max(bottom, corner.y);
        }
        return CGRect(left, top, right - left, bottom - top);
    }
    bool isFinite() const
    {
        return std::isfinite(origin.x) && std::isfinite(origin.y) &&
               std::isfinite(size.width) && std::isfinite(size.height);
    }

    // Whether the two areas overlap; areas that only touch along an edge, and
    // empty ones, do not.
    bool intersects(const CGRect& other) const
    {
        const bool empty = width() == 0 || height() == 0 || other.width() == 0 ||
                           other.height() == 0;
        return !empty && minX() < other.maxX() && other.minX() < maxX() &&
               minY() < other.maxY() && other.minY() < maxY();
    }

    bool operator==(const CGRect&) const = default;
};
