#pragma once

#include "CGContext.h"
#include "NSStringDrawing.h"
#include "TextDrawRecorder.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// Checks of how the text of a recorded draw is laid out and painted.

inline NSStringAttributes attributesOf(const TextDraw& draw)
{
    return {*UIFont::named(draw.fontName, draw.fontSize), draw.color, draw.alignment};
}

// Whether the text was drawn on one line that fits its rectangle's width.
inline testing::AssertionResult liesOnOneLine(const TextDraw& draw)
{
    const NSStringAttributes attributes = attributesOf(draw);
    const CGRect unwrapped = boundingRect(draw.string, {0, 0}, attributes);
    const CGRect wrapped = boundingRect(draw.string, {draw.rect.width(), INFINITY}, attributes);
    if (unwrapped.width() <= draw.rect.width() && wrapped.height() == unwrapped.height() &&
        draw.rect.height() == unwrapped.height()) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "\"" << draw.string << "\" in " << draw.fontName << " "
                                       << draw.fontSize << " is " << unwrapped.width() << " wide for "
                                       << draw.rect.width() << " and drawn " << draw.rect.height()
                                       << " high for a line of " << unwrapped.height();
}

// How much ink each pixel column of the text holds, painted at `scale`
// pixels per point from a point off the image's left edge.
inline std::vector<double> inkColumns(const TextDraw& draw, CGFloat scale)
{
    const NSStringAttributes attributes = attributesOf(draw);
    const CGRect size = boundingRect(draw.string, {0, 0}, attributes);
    const CGSize canvas(std::ceil(size.width()) + 2, std::ceil(size.height()));
    const auto image = UIGraphicsImageRenderer(canvas, scale).image(
        [&](CGContext&) { ::draw(draw.string, CGRect({1, 0}, canvas), attributes); });
    cairo_surface_t* surface = image->surface();
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<double> columns(static_cast<std::size_t>(image->pixelWidth()));
    for (int y = 0; y < image->pixelHeight(); ++y) {
        for (std::size_t x = 0; x < columns.size(); ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, data + y * stride + 4 * x, sizeof pixel);
            columns[x] += pixel >> 24;
        }
    }
    return columns;
}

// Where the text's glyphs stand, painted at 32 pixels per point: the
// boundaries, in points, between runs of inked columns, leaving together the
// glyphs less than `apart` points apart.
inline std::vector<double> glyphBoundaries(const std::vector<double>& columns, double scale, double apart)
{
    std::vector<double> boundaries;
    int lastInked = -1;
    for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
        if (columns[x] == 0) {
            continue;
        }
        const double gap = (x - lastInked - 1) / scale;
        if (lastInked >= 0 && gap >= apart) {
            boundaries.push_back((lastInked + 1 + x) / 2.0 / scale);
        }
        lastInked = x;
    }
    return boundaries;
}

// The centre of mass of the ink between each two boundaries, in points.
inline std::vector<double> inkCentres(const std::vector<double>& columns, double scale,
                                      const std::vector<double>& boundaries)
{
    std::vector<double> mass(boundaries.size() + 1);
    std::vector<double> moment(boundaries.size() + 1);
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const double centre = (x + 0.5) / scale;
        const auto part = static_cast<std::size_t>(
            std::upper_bound(boundaries.begin(), boundaries.end(), centre) - boundaries.begin());
        mass[part] += columns[x];
        moment[part] += columns[x] * centre;
    }
    std::vector<double> centres;
    for (std::size_t part = 0; part < mass.size(); ++part) {
        centres.push_back(moment[part] / mass[part]);
    }
    return centres;
}

// Whether the glyphs of the text, painted at 8 pixels per point, stand as
// far apart as the face's own spacing puts them: as the same text painted at
// 32 pixels per point shows them, to a tenth of a pixel. A glyph put on a
// whole pixel would be up to half a pixel off at the smaller scale and an
// eighth of a pixel at the larger. Glyphs closer than three pixels of the
// smaller scale are measured together, since their ink would mix.
inline testing::AssertionResult keepsItsSpacing(const TextDraw& draw)
{
    constexpr double kScale = 8;
    constexpr double kReferenceScale = 32;
    const std::vector<double> reference = inkColumns(draw, kReferenceScale);
    const std::vector<double> boundaries = glyphBoundaries(reference, kReferenceScale, 3 / kScale);
    const std::vector<double> expected = inkCentres(reference, kReferenceScale, boundaries);
    const std::vector<double> painted = inkCentres(inkColumns(draw, kScale), kScale, boundaries);
    for (std::size_t k = 1; k < painted.size(); ++k) {
        const double error = ((painted[k] - painted[k - 1]) - (expected[k] - expected[k - 1])) * kScale;
        if (!(std::abs(error) <= 0.1)) {
            return testing::AssertionFailure() << "glyphs " << k - 1 << " and " << k << " of \"" << draw.string
                                               << "\" in " << draw.fontName << " " << draw.fontSize << " stand "
                                               << error << " pixels off their spacing";
        }
    }
    return testing::AssertionSuccess();
}
