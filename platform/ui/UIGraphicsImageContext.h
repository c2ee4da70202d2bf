#pragma once

#include "CGContext.h"
#include "CGSize.h"

#include <memory>

typedef struct _cairo_surface cairo_surface_t;
class UIImage;

// An image surface of a size in points at a scale, with a graphics context
// whose user space is in points (origin top left, y down).
class UIGraphicsImageContext {
public:
    // A negative or non-finite size counts as 0; a scale that is not a
    // positive finite number is the main screen's.
    UIGraphicsImageContext(CGSize size, bool opaque, CGFloat scale);
    ~UIGraphicsImageContext();
    UIGraphicsImageContext(const UIGraphicsImageContext&) = delete;
    UIGraphicsImageContext& operator=(const UIGraphicsImageContext&) = delete;

    CGContext& context() { return *context_; }
    // A copy of what has been drawn so far.
    std::shared_ptr<UIImage> image() const;

private:
    cairo_surface_t* surface_;
    cairo_t* cairo_;
    std::unique_ptr<CGContext> context_;
    CGFloat scale_;
};
