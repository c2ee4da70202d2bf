#pragma once

#include "CGFloat.h"

// A colour in the sRGB space with alpha; components are kept as given
// (extended range allowed).
class UIColor {
public:
    UIColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
        : red_(red), green_(green), blue_(blue), alpha_(alpha)
    {
    }
    UIColor(CGFloat white, CGFloat alpha) : UIColor(white, white, white, alpha) {}

    CGFloat red() const { return red_; }
    CGFloat green() const { return green_; }
    CGFloat blue() const { return blue_; }
    CGFloat alpha() const { return alpha_; }

    bool operator==(const UIColor&) const = default;

private:
    CGFloat red_;
    CGFloat green_;
    CGFloat blue_;
    CGFloat alpha_;
};
