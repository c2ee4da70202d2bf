#pragma once

#include "CGPoint.h"

#include <cmath>

// The affine map (x, y) -> (a x + c y + tx, b x + d y + ty).
struct CGAffineTransform {
    CGFloat a = 1;
    CGFloat b = 0;
    CGFloat c = 0;
    CGFloat d = 1;
    CGFloat tx = 0;
    CGFloat ty = 0;

    static CGAffineTransform identity() { return {}; }
    static CGAffineTransform translation(CGFloat x, CGFloat y) { return {1, 0, 0, 1, x, y}; }
    static CGAffineTransform scale(CGFloat sx, CGFloat sy) { return {sx, 0, 0, sy, 0, 0}; }
    static CGAffineTransform rotation(CGFloat angle)
    {
        const CGFloat cosine = std::cos(angle);
        const CGFloat sine = std::sin(angle);
        return {cosine, sine, -sine, cosine, 0, 0};
    }

    // This transform followed by `next`.
    CGAffineTransform concatenating(const CGAffineTransform& next) const
    {
        return {a * next.a + b * next.c,
                a * next.b + b * next.d,
                c * next.a + d * next.c,
                c * next.b + d * next.d,
                tx * next.a + ty * next.c + next.tx,
                tx * next.b + ty * next.d + next.ty};
    }

    // The map that undoes this one; this one unchanged when that does not
    // exist.
    CGAffineTransform inverted() const
    {
        const CGFloat determinant = a * d - b * c;
        if (!isInvertible()) {
            return *this;
        }
        return {d / determinant,
                -b / determinant,
                -c / determinant,
                a / determinant,
                (c * ty - d * tx) / determinant,
                (b * tx - a * ty) / determinant};
    }

    CGPoint apply(CGPoint point) const
    {
        return {a * point.x + c * point.y + tx, b * point.x + d * point.y + ty};
    }

    bool isIdentity() const { return *this == identity(); }
    // Whether the map can be undone with finite numbers (no zero or
    // non-finite scale).
    bool isInvertible() const
    {
        const CGFloat determinant = a * d - b * c;
        return determinant != 0 && std::isfinite(1 / determinant) && std::isfinite(a) &&
               std::isfinite(b) && std::isfinite(c) && std::isfinite(d) && std::isfinite(tx) &&
               std::isfinite(ty);
    }

    bool operator==(const CGAffineTransform&) const = default;
};
