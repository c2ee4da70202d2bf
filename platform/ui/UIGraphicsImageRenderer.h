#pragma once

#include "CGSize.h"

#include <functional>
#include <memory>

class CGContext;
class UIImage;

// Makes images by drawing: each call opens a fresh image context, makes it
// current while `actions` draw into it, and returns the picture.
class UIGraphicsImageRenderer {
public:
    // A scale that is not a positive finite number is the main screen's.
    explicit UIGraphicsImageRenderer(CGSize size, CGFloat scale = 0, bool opaque = false)
        : size_(size), scale_(scale), opaque_(opaque)
    {
    }

    // A `reusable` image of the renderer's pixel size, scale and opacity that
    // nothing else holds is drawn into (cleared first) and returned instead
    // of a new one.
    std::shared_ptr<UIImage> image(const std::function<void(CGContext&)>& actions,
                                   std::shared_ptr<UIImage> reusable = nullptr) const;

private:
    CGSize size_;
    CGFloat scale_;
    bool opaque_;
};
