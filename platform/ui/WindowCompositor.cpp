#include "WindowCompositor.h"

#include "CGContext.h"
#include "DeviceSpace.h"
#include "LayerVisitor.h"
#include "UIImage.h"
#include "UIView.h"
#include "UIWindow.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// A filtered picture's edge pixels may be touched by a fraction; one more
// pixel all round holds them whatever the rounding.
constexpr CGFloat kMargin = 1;

// Cairo makes no image surface with a longer side.
constexpr CGFloat kLargestPictureSide = 32767;

CGRect wholePixels(const CGRect& rect)
{
    const CGFloat left = std::floor(rect.minX()) - kMargin;
    const CGFloat top = std::floor(rect.minY()) - kMargin;
    return CGRect(left, top, std::ceil(rect.maxX()) + kMargin - left, std::ceil(rect.maxY()) + kMargin - top);
}

CGRect intersection(const CGRect& a, const CGRect& b)
{
    const CGFloat left = std::max(a.minX(), b.minX());
    const CGFloat top = std::max(a.minY(), b.minY());
    const CGFloat right = std::min(a.maxX(), b.maxX());
    const CGFloat bottom = std::min(a.maxY(), b.maxY());
    return right > left && bottom > top ? CGRect(left, top, right - left, bottom - top) : CGRect::zero();
}

// The smallest rectangle holding both; an empty one counts as none.
CGRect hull(const CGRect& a, const CGRect& b)
{
    if (a.width() == 0 || a.height() == 0) {
        return b;
    }
    if (b.width() == 0 || b.height() == 0) {
        return a;
    }
    const CGFloat left = std::min(a.minX(), b.minX());
    const CGFloat top = std::min(a.minY(), b.minY());
    return CGRect(left, top, std::max(a.maxX(), b.maxX()) - left, std::max(a.maxY(), b.maxY()) - top);
}

bool holds(const CGRect& outer, const CGRect& inner)
{
    return outer.minX() <= inner.minX() && outer.minY() <= inner.minY() && inner.maxX() <= outer.maxX() &&
           inner.maxY() <= outer.maxY();
}

// The pixels in which two images of one size differ, as one rectangle (empty
// when they are the same).
CGRect differingPixels(const UIImage& a, const UIImage& b)
{
    cairo_surface_t* first = a.surface();
    cairo_surface_t* second = b.surface();
    cairo_surface_flush(first);
    cairo_surface_flush(second);
    const int width = a.pixelWidth();
    const int stride = cairo_image_surface_get_stride(first);
    const unsigned char* rowsA = cairo_image_surface_get_data(first);
    const unsigned char* rowsB = cairo_image_surface_get_data(second);
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < a.pixelHeight(); ++y) {
        const auto* rowA = reinterpret_cast<const std::uint32_t*>(rowsA + std::ptrdiff_t(y) * stride);
        const auto* rowB = reinterpret_cast<const std::uint32_t*>(rowsB + std::ptrdiff_t(y) * stride);
        if (std::memcmp(rowA, rowB, std::size_t(width) * 4) == 0) {
            continue;
        }
        top = top < 0 ? y : top;
        bottom = y;
        int x = 0;
        while (rowA[x] == rowB[x]) {
            ++x;
        }
        left = std::min(left, x);
        x = width - 1;
        while (rowA[x] == rowB[x]) {
            --x;
        }
        right = std::max(right, x);
    }
    return top < 0 ? CGRect::zero() : CGRect(left, top, right + 1 - left, bottom + 1 - top);
}

bool isComparable(const UIImage& a, const UIImage& b)
{
    return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight() && a.scale() == b.scale() &&
           cairo_image_surface_get_format(a.surface()) == CAIRO_FORMAT_ARGB32 &&
           cairo_image_surface_get_format(b.surface()) == CAIRO_FORMAT_ARGB32 &&
           cairo_image_surface_get_stride(a.surface()) == cairo_image_surface_get_stride(b.surface());
}

} // namespace

CGRect WindowCompositor::Sheet::extent() const
{
    return extent(CGRect(0, 0, image->pixelWidth(), image->pixelHeight()));
}

CGRect WindowCompositor::Sheet::extent(const CGRect& area) const
{
    // Filtering reads a changed pixel into its neighbours' places too: as
    // far as one device pixel reaches into the picture, and one more.
    const CGRect whole = CGRect(0, 0, size.width, size.height).applying(placement);
    if (!paintable || !whole.isFinite() || whole.width() == 0 || whole.height() == 0) {
        return CGRect::zero();
    }
    const CGFloat reach = 2 + std::ceil(std::max(image->pixelWidth() / whole.width(),
                                                 image->pixelHeight() / whole.height()));
    // The picture is stretched over the bounds, as drawImage draws it.
    const CGRect grown(area.minX() - reach, area.minY() - reach, area.width() + 2 * reach, area.height() + 2 * reach);
    const CGRect inBounds = grown.applying(
        CGAffineTransform::scale(size.width / image->pixelWidth(), size.height / image->pixelHeight()));
    const CGRect placed = intersection(inBounds, CGRect(0, 0, size.width, size.height)).applying(placement);
    return placed.isFinite() ? wholePixels(placed) : CGRect::zero();
}

CGRect WindowCompositor::Sheet::footprint() const
{
    return isResampled() ? extent() : CGRect(0, 0, size.width, size.height).applying(placement);
}

bool WindowCompositor::Sheet::isPlacedAs(const Sheet& other) const
{
    return size == other.size && placement == other.placement && fades == other.fades &&
           paintable == other.paintable;
}

bool WindowCompositor::Sheet::isResampled() const
{
    const CGAffineTransform pixels =
        CGAffineTransform::scale(size.width / image->pixelWidth(), size.height / image->pixelHeight())
            .concatenating(placement);
    return pixels.a != 1 || pixels.b != 0 || pixels.c != 0 || pixels.d != 1 || pixels.tx != std::round(pixels.tx) ||
           pixels.ty != std::round(pixels.ty);
}

CGRect WindowCompositor::difference(const Sheet* now, const Sheet* then)
{
    if (now && then && now->isPlacedAs(*then) && isComparable(*now->image, *then->image)) {
        const CGRect differing = differingPixels(*now->image, *then->image);
        return differing.width() > 0 ? now->extent(differing) : CGRect::zero();
    }
    return hull(now ? now->extent() : CGRect::zero(), then ? then->extent() : CGRect::zero());
}

CGRect WindowCompositor::closed(CGRect area, const std::vector<Sheet>& sheets, const CGRect& picture)
{
    for (bool grown = area.width() > 0; grown;) {
        grown = false;
        for (const Sheet& sheet : sheets) {
            const CGRect extent = intersection(sheet.extent(), picture);
            if (!extent.intersects(area) || (holds(area, extent) && sheet.fades.empty())) {
                continue;
            }
            if (!sheet.fades.empty()) {
                return picture;
            }
            if (sheet.isResampled()) {
                area = hull(area, extent);
                grown = true;
            }
        }
    }
    return area;
}

CGRect WindowCompositor::drawn(const std::vector<Sheet>& sheets, const CGRect& picture)
{
    CGRect area;
    for (const Sheet& sheet : sheets) {
        area = hull(area, intersection(sheet.footprint(), picture));
    }
    if (area.width() == 0) {
        return CGRect::zero();
    }
    return CGRect(0, 0, std::min(area.maxX(), kLargestPictureSide), std::min(area.maxY(), kLargestPictureSide));
}

// The sheets of windows painted at a scale, as the views' own walk of their
// layers gives them.
class WindowCompositor::Collector : public LayerVisitor {
public:
    explicit Collector(CGFloat scale) : scale_(scale) {}

    void collect(const UIWindow& window)
    {
        spaces_.assign(1, DeviceSpace{CGAffineTransform::scale(scale_, scale_)});
        window.visitLayer(*this);
    }

    void picture(const std::shared_ptr<UIImage>& image, const CGRect& bounds, std::size_t) override
    {
        sheets.push_back({image, bounds.size, spaces_.back().ctm, fades_, spaces_.back().paintable});
    }
    void save() override { spaces_.push_back(spaces_.back()); }
    void concatenate(const CGAffineTransform& step) override { spaces_.back().concatenate(step); }
    bool canPaint() const override { return spaces_.back().paintable; }
    void beginFade(const UIView& view) override { fades_.emplace_back(&view, view.alpha()); }
    void endFade(const UIView&) override { fades_.pop_back(); }
    void restore() override { spaces_.pop_back(); }

    std::vector<Sheet> sheets;

private:
    CGFloat scale_;
    std::vector<DeviceSpace> spaces_;
    std::vector<std::pair<const UIView*, CGFloat>> fades_;
};

CGRect WindowCompositor::change(const std::vector<const UIWindow*>& windows, CGSize size, CGFloat scale)
{
    Collector collector(scale);
    for (const UIWindow* window : windows) {
        collector.collect(*window);
    }
    std::vector<Sheet>& sheets = collector.sheets;
    const CGRect picture(0, 0, std::ceil(size.width * scale), std::ceil(size.height * scale));
    CGRect area;
    lowestChange_ = 0;
    if (windows.size() != windowCount_ || size != size_ || scale != scale_) {
        area = picture;
        backdrop_.reset();
    } else {
        lowestChange_ = std::max(sheets.size(), shown_.size());
        for (std::size_t index = 0; index < std::max(sheets.size(), shown_.size()); ++index) {
            const Sheet* now = index < sheets.size() ? &sheets[index] : nullptr;
            const Sheet* then = index < shown_.size() ? &shown_[index] : nullptr;
            if (!(now && then && *now == *then)) {
                area = hull(area, intersection(difference(now, then), picture));
                lowestChange_ = std::min(lowestChange_, index);
            }
        }
        area = closed(area, sheets, picture);
    }
    drawn_ = drawn(sheets, picture);
    shown_ = std::move(sheets);
    windowCount_ = windows.size();
    size_ = size;
    scale_ = scale;
    return area;
}

void WindowCompositor::paint(CGContext& context, const std::vector<const UIWindow*>& windows, CGSize size) const
{
    const CGRect area(0, 0, size.width, size.height);
    for (const UIWindow* window : windows) {
        context.setFillColor(background_);
        context.fill(area);
        window->renderLayer(context);
    }
}

void WindowCompositor::paint(CGContext& context, const std::vector<const UIWindow*>& windows, CGSize size,
                             const CGRect& area)
{
    if (area.width() == 0 || area.height() == 0) {
        return;
    }
    if (windows.size() == 1 && !hasBackdrop()) {
        keepBackdrop(*windows.front(), size);
    }
    cairo_t* cairo = context.cairo();
    cairo_save(cairo);
    cairo_matrix_t matrix;
    cairo_get_matrix(cairo, &matrix);
    cairo_identity_matrix(cairo);
    cairo_new_path(cairo);
    cairo_rectangle(cairo, area.minX(), area.minY(), area.width(), area.height());
    cairo_clip(cairo);
    if (windows.size() == 1 && hasBackdrop()) {
        // The backdrop holds the drawn area; beyond it lies the background.
        if (!holds(drawn_, area)) {
            context.setFillColor(background_);
            context.fill(area);
        }
        cairo_set_source_surface(cairo, backdrop_->surface(), 0, 0);
        cairo_paint(cairo);
        cairo_set_matrix(cairo, &matrix);
        windows.front()->renderLayer(context, underBackdrop_.size(), std::numeric_limits<std::size_t>::max());
    } else {
        cairo_set_matrix(cairo, &matrix);
        paint(context, windows, size);
    }
    cairo_restore(cairo);
}

bool WindowCompositor::hasBackdrop() const
{
    return backdrop_ && backdrop_->pixelWidth() == drawn_.width() && backdrop_->pixelHeight() == drawn_.height() &&
           underBackdrop_.size() <= lowestChange_ && underBackdrop_.size() <= shown_.size() &&
           std::equal(underBackdrop_.begin(), underBackdrop_.end(), shown_.begin());
}

void WindowCompositor::keepBackdrop(const UIWindow& window, CGSize size)
{
    backdrop_.reset();
    underBackdrop_.clear();
    const std::size_t count = std::min(lowestChange_, shown_.size());
    const bool faded = std::any_of(shown_.begin(), shown_.end(), [](const Sheet& sheet) { return !sheet.fades.empty(); });
    if (count == 0 || faded) {
        return;
    }
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(drawn_.width()), int(drawn_.height()));
    cairo_t* cairo = cairo_create(surface);
    cairo_scale(cairo, scale_, scale_);
    {
        CGContext context(cairo);
        context.setFillColor(background_);
        context.fill(CGRect(0, 0, size.width, size.height));
        window.renderLayer(context, 0, count);
    }
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    backdrop_ = UIImage::adopt(surface, scale_);
    underBackdrop_.assign(shown_.begin(), shown_.begin() + std::ptrdiff_t(count));
}
