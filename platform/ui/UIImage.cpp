#include "UIImage.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace {

struct Reader {
    const Data& data;
    std::size_t offset = 0;
};

cairo_status_t readFromData(void* closure, unsigned char* buffer, unsigned int length)
{
    auto& reader = *static_cast<Reader*>(closure);
    if (reader.data.size() - reader.offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(buffer, reader.data.data() + reader.offset, length);
    reader.offset += length;
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

std::shared_ptr<UIImage> UIImage::fromData(const Data& data)
{
    Reader reader{data};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readFromData, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return std::shared_ptr<UIImage>(new UIImage(surface));
}

UIImage::~UIImage()
{
    cairo_surface_destroy(surface_);
}

CGSize UIImage::size() const
{
    return {static_cast<CGFloat>(cairo_image_surface_get_width(surface_)),
            static_cast<CGFloat>(cairo_image_surface_get_height(surface_))};
}
