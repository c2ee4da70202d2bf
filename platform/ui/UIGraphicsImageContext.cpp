#include "UIGraphicsImageContext.h"

#include "UIImage.h"
#include "UIScreen.h"

#include <cairo.h>

#include <cmath>

namespace {

// Pixels for `points` at `scale`; nothing for a negative or non-finite size,
// at most what Cairo accepts.
int pixels(CGFloat points, CGFloat scale)
{
    constexpr CGFloat kLargest = 32767;
    const CGFloat count = std::ceil(points * scale);
    return std::isfinite(count) && count > 0 ? static_cast<int>(std::min(count, kLargest)) : 0;
}

} // namespace

UIGraphicsImageContext::UIGraphicsImageContext(CGSize size, bool opaque, CGFloat scale)
    : scale_(std::isfinite(scale) && scale > 0 ? scale : UIScreen::main().scale())
{
    surface_ = cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                          pixels(size.width, scale_),
                                          pixels(size.height, scale_));
    cairo_ = cairo_create(surface_);
    cairo_scale(cairo_, scale_, scale_);
    context_ = std::make_unique<CGContext>(cairo_);
}

UIGraphicsImageContext::~UIGraphicsImageContext()
{
    context_.reset();
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
}

std::shared_ptr<UIImage> UIGraphicsImageContext::image() const
{
    cairo_surface_flush(surface_);
    cairo_surface_t* copy = cairo_surface_create_similar_image(
        surface_, cairo_image_surface_get_format(surface_),
        cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_));
    cairo_t* painter = cairo_create(copy);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(painter, surface_, 0, 0);
    cairo_paint(painter);
    cairo_destroy(painter);
    return UIImage::adopt(copy, scale_);
}
