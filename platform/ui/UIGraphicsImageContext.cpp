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

bool fits(const std::shared_ptr<UIImage>& image, cairo_format_t format, int width, int height, CGFloat scale)
{
    return image && image.use_count() == 1 && image->scale() == scale && image->pixelWidth() == width &&
           image->pixelHeight() == height && cairo_image_surface_get_format(image->surface()) == format;
}

void clear(cairo_surface_t* surface)
{
    cairo_t* cairo = cairo_create(surface);
    cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cairo);
    cairo_destroy(cairo);
}

} // namespace

UIGraphicsImageContext::UIGraphicsImageContext(CGSize size, bool opaque, CGFloat scale,
                                               std::shared_ptr<UIImage> reusable)
    : scale_(std::isfinite(scale) && scale > 0 ? scale : UIScreen::main().scale())
{
    const cairo_format_t format = opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
    const int width = pixels(size.width, scale_);
    const int height = pixels(size.height, scale_);
    cairo_surface_t* surface = nullptr;
    if (fits(reusable, format, width, height, scale_)) {
        canvas_ = std::move(reusable);
        surface = cairo_surface_reference(canvas_->surface());
        clear(surface);
    } else {
        // A surface that could not be made draws nothing and gives no image.
        surface = cairo_image_surface_create(format, width, height);
        canvas_ = UIImage::adopt(cairo_surface_reference(surface), scale_);
    }
    cairo_ = cairo_create(surface);
    cairo_surface_destroy(surface);
    cairo_scale(cairo_, scale_, scale_);
    context_ = std::make_unique<CGContext>(cairo_);
}

UIGraphicsImageContext::~UIGraphicsImageContext()
{
    end();
}

void UIGraphicsImageContext::end()
{
    if (cairo_ != nullptr) {
        context_.reset();
        cairo_destroy(cairo_);
        cairo_ = nullptr;
    }
}

std::shared_ptr<UIImage> UIGraphicsImageContext::image() const
{
    if (!canvas_) {
        return nullptr;
    }
    cairo_surface_t* surface = canvas_->surface();
    cairo_surface_flush(surface);
    cairo_surface_t* copy = cairo_surface_create_similar_image(
        surface, cairo_image_surface_get_format(surface), cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface));
    cairo_t* painter = cairo_create(copy);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(painter, surface, 0, 0);
    cairo_paint(painter);
    cairo_destroy(painter);
    return UIImage::adopt(copy, scale_);
}

std::shared_ptr<UIImage> UIGraphicsImageContext::finishedImage()
{
    end();
    if (canvas_) {
        cairo_surface_flush(canvas_->surface());
    }
    return canvas_;
}
