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
    // positive finite number is the main screen's. A `reusable` image of the
    // same pixel size, scale and opacity that nothing else holds is drawn
    // into (cleared first) instead of a new one.
    UIGraphicsImageContext(CGSize size, bool opaque, CGFloat scale, std::shared_ptr<UIImage> reusable = nullptr);
    ~UIGraphicsImageContext();
    UIGraphicsImageContext(const UIGraphicsImageContext&) = delete;
    UIGraphicsImageContext& operator=(const UIGraphicsImageContext&) = delete;

    CGContext& context() { return *context_; }
    // A copy of what has been drawn so far.
    std::shared_ptr<UIImage> image() const;
    // What was drawn, without a copy: the context ends and draws no more.
    std::shared_ptr<UIImage> finishedImage();

private:
    void end();

    std::shared_ptr<UIImage> canvas_;
    cairo_t* cairo_ = nullptr;
    std::unique_ptr<CGContext> context_;
    CGFloat scale_;
};
