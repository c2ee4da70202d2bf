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

    static UIColor black() { return {0, 1}; }
    static UIColor white() { return {1, 1}; }
    static UIColor lightGray() { return {2.0 / 3.0, 1}; }
    static UIColor clear() { return {0, 0}; }

    CGFloat red() const { return red_; }
    CGFloat green() const { return green_; }
    CGFloat blue() const { return blue_; }
    CGFloat alpha() const { return alpha_; }

    // The same colour with its alpha replaced.
    UIColor withAlphaComponent(CGFloat alpha) const { return {red_, green_, blue_, alpha}; }

    // Make this the fill, the stroke or both colours of the current graphics
    // context; without a current context they do nothing.
    void setFill() const;
    void setStroke() const;
    void set() const;

    bool operator==(const UIColor&) const = default;

private:
    CGFloat red_;
    CGFloat green_;
    CGFloat blue_;
    CGFloat alpha_;
};
