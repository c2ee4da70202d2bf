#include "UIImage.h"

#include "CGContext.h"
#include "UIGraphics.h"

#include <cairo.h>

#include <cmath>
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

cairo_status_t writeToData(void* closure, const unsigned char* buffer, unsigned int length)
{
    auto& data = *static_cast<Data*>(closure);
    data.insert(data.end(), buffer, buffer + length);
    return CAIRO_STATUS_SUCCESS;
}

std::uint8_t unpremultiplied(std::uint32_t component, std::uint32_t alpha)
{
    return static_cast<std::uint8_t>(alpha == 0 ? 0 : (component * 255 + alpha / 2) / alpha);
}

} // namespace

std::shared_ptr<UIImage> UIImage::fromData(const Data& data)
{
    Reader reader{data};
    return adopt(cairo_image_surface_create_from_png_stream(readFromData, &reader), 1);
}

std::shared_ptr<UIImage> UIImage::adopt(cairo_surface_t* surface, double scale)
{
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || !std::isfinite(scale) ||
        scale <= 0) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return std::shared_ptr<UIImage>(new UIImage(surface, scale));
}

UIImage::~UIImage()
{
    cairo_surface_destroy(surface_);
}

CGSize UIImage::size() const
{
    return {pixelWidth() / scale_, pixelHeight() / scale_};
}

int UIImage::pixelWidth() const
{
    return cairo_image_surface_get_width(surface_);
}

int UIImage::pixelHeight() const
{
    return cairo_image_surface_get_height(surface_);
}

UIImage::Pixel UIImage::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) {
        return {};
    }
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    std::uint32_t word;
    std::memcpy(&word, row + 4 * x, sizeof word);
    const bool opaque = cairo_image_surface_get_format(surface_) != CAIRO_FORMAT_ARGB32;
    const std::uint32_t alpha = opaque ? 255 : word >> 24;
    return {unpremultiplied((word >> 16) & 0xFF, alpha), unpremultiplied((word >> 8) & 0xFF, alpha),
            unpremultiplied(word & 0xFF, alpha), static_cast<std::uint8_t>(alpha)};
}

void UIImage::draw(CGRect rect) const
{
    if (auto* context = UIGraphicsGetCurrentContext()) {
        context->drawImage(*this, rect);
    }
}

std::optional<Data> UIImage::pngData() const
{
    Data data;
    if (cairo_surface_write_to_png_stream(surface_, writeToData, &data) != CAIRO_STATUS_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

bool UIImage::writePNG(const std::filesystem::path& path) const
{
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
