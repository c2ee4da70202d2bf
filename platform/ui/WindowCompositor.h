#pragma once

#include "CGAffineTransform.h"
#include "CGRect.h"
#include "UIColor.h"

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

class CGContext;
class UIImage;
class UIView;
class UIWindow;

// Paints a stack of windows as one picture, each over a background that
// covers the one before (a presented screen's window over the window it was
// presented over), and tells which area of that picture changed since it
// last looked, so that a painter keeping the picture paints only that area
// again.
//
// Which pictures are shown, where, in which order and faded how, it learns
// from the views' own walk of their layers (UIView::visitLayer), the one
// they paint by; a picture placed where nothing can be painted (a singular
// transform) shows nowhere. The area holds wherever a shown view's picture,
// its place, its transform or its fading differs: where it lies now and
// where it lay then, and of a picture that was drawn again only the part
// whose pixels differ. Painting only that area of a kept picture gives,
// pixel for pixel, what painting all of it gives: Cairo resamples a picture
// that is not placed on whole pixels a little differently for every clip
// that cuts it, so the area grows until it holds each such picture it
// touches whole, and becomes all of the picture where a faded view is
// touched.
//
// What the pictures under the lowest one that changes look like is kept as a
// backdrop: painting a changed area starts from it instead of painting those
// pictures again.
class WindowCompositor {
public:
    explicit WindowCompositor(UIColor background) : background_(background) {}

    // The area, in whole device pixels of a picture of `size` points at
    // `scale` pixels per point, that looks different since the last call (an
    // empty one when nothing does); the whole picture on the first call and
    // when the size, the scale or the number of windows changed.
    CGRect change(const std::vector<const UIWindow*>& windows, CGSize size, CGFloat scale);
    // The part of that picture, from its top-left corner, that holds
    // everything the views paint, up to the largest picture Cairo makes
    // (32767 pixels a side): beyond it the background is shown.
    CGRect drawnArea() const { return drawn_; }
    // Paints the windows into `context`, whose user space is the windows'
    // points, wherever its clip lets it.
    void paint(CGContext& context, const std::vector<const UIWindow*>& windows, CGSize size) const;
    // The same, only within `area` of the picture change() last looked at,
    // whose device pixels are those of `context`.
    void paint(CGContext& context, const std::vector<const UIWindow*>& windows, CGSize size, const CGRect& area);

private:
    // One view's picture as it is painted: which picture, the map from its
    // bounds into device pixels, the faded views it is painted within
    // (itself included), each with its alpha, and whether that map can paint
    // at all.
    struct Sheet {
        std::shared_ptr<UIImage> image;
        CGSize size;
        CGAffineTransform placement;
        std::vector<std::pair<const UIView*, CGFloat>> fades;
        bool paintable = true;

        bool operator==(const Sheet&) const = default;
        // The whole device pixels its painting may touch: all of it, or only
        // where `area` of its picture (in the picture's pixels) lies; none
        // when it cannot paint.
        CGRect extent() const;
        CGRect extent(const CGRect& area) const;
        // The device pixels its painting touches.
        CGRect footprint() const;
        // Whether `other` is the same place and fading with another picture.
        bool isPlacedAs(const Sheet& other) const;
        // Whether its pixels are not simply copied onto whole device pixels.
        bool isResampled() const;
    };

    // Gathers the sheets from the views' walk.
    class Collector;

    // Where `now` and `then` look different, both painted as the same sheet.
    static CGRect difference(const Sheet* now, const Sheet* then);
    // `area` grown to hold whole every resampled sheet it touches.
    static CGRect closed(CGRect area, const std::vector<Sheet>& sheets, const CGRect& picture);
    // From the picture's top-left corner to the far edges of every sheet
    // within it, at most Cairo's largest picture.
    static CGRect drawn(const std::vector<Sheet>& sheets, const CGRect& picture);
    // Whether the backdrop shows the sheets under every one that changed, as
    // they are now.
    bool hasBackdrop() const;
    // The windows' background and the sheets under the lowest one that
    // changed, kept when there are any and none of them is faded.
    void keepBackdrop(const UIWindow& window, CGSize size);

    UIColor background_;
    std::vector<Sheet> shown_;
    // The index of the lowest sheet that changed at the last look.
    std::size_t lowestChange_ = 0;
    std::shared_ptr<UIImage> backdrop_;
    std::vector<Sheet> underBackdrop_;
    std::size_t windowCount_ = 0;
    CGSize size_;
    CGFloat scale_ = 0;
    CGRect drawn_;
};
