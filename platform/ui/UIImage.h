#pragma once

#include "CGRect.h"
#include "Data.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

typedef struct _cairo_surface cairo_surface_t;

// A bitmap image: a Cairo ARGB image surface and the number of pixels per
// point it was made at.
class UIImage {
public:
    // One pixel, its colour not premultiplied by its alpha.
    struct Pixel {
        std::uint8_t red = 0;
        std::uint8_t green = 0;
        std::uint8_t blue = 0;
        std::uint8_t alpha = 0;

        bool operator==(const Pixel&) const = default;
    };

    // The image in `data`, or none when the data is not a PNG image. A PNG
    // image has one pixel per point.
    static std::shared_ptr<UIImage> fromData(const Data& data);
    // Takes over `surface` (an image surface). None when it is in an error
    // state, or when `scale` is not a positive finite number.
    static std::shared_ptr<UIImage> adopt(cairo_surface_t* surface, double scale);

    // Size in points: pixels divided by the scale.
    CGSize size() const;
    double scale() const { return scale_; }
    int pixelWidth() const;
    int pixelHeight() const;
    // The pixel at column x, row y; a transparent pixel outside the image.
    Pixel pixel(int x, int y) const;

    // Draws the image scaled into `rect` of the current graphics context.
    void draw(CGRect rect) const;

    // The image as PNG data; none when encoding fails.
    std::optional<Data> pngData() const;
    bool writePNG(const std::filesystem::path& path) const;

    cairo_surface_t* surface() const { return surface_; }

    ~UIImage();
    UIImage(const UIImage&) = delete;
    UIImage& operator=(const UIImage&) = delete;

private:
    UIImage(cairo_surface_t* surface, double scale) : surface_(surface), scale_(scale) {}

    cairo_surface_t* surface_;
    double scale_;
};
