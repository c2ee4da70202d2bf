#pragma once

#include "CGSize.h"
#include "Data.h"

#include <memory>

typedef struct _cairo_surface cairo_surface_t;

// A decoded bitmap image (PNG), held as a Cairo image surface.
class UIImage {
public:
    // The image in `data`, or none when the data is not a PNG image.
    static std::shared_ptr<UIImage> fromData(const Data& data);

    // Size in points (one pixel per point).
    CGSize size() const;

    ~UIImage();
    UIImage(const UIImage&) = delete;
    UIImage& operator=(const UIImage&) = delete;

private:
    explicit UIImage(cairo_surface_t* surface) : surface_(surface) {}

    cairo_surface_t* surface_;
};
