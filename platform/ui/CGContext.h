#pragma once

#include "CGAffineTransform.h"
#include "CGRect.h"
#include "DeviceSpace.h"
#include "UIColor.h"

#include <string>
#include <vector>

typedef struct _cairo cairo_t;
class UIBezierPath;
class UIImage;
struct NSStringAttributes;

// A graphics context over a Cairo context, with the platform's state stack:
// transform, clip, fill and stroke colours.
//
// A transform that cannot be inverted (a zero or non-finite scale, a
// non-finite translation or angle) would put Cairo into a lasting error
// state. Instead the context keeps it in its own transform and paints
// nothing until the state is restored past it: what is drawn at such a scale
// would cover no pixel anyway, and everything else about the pass goes on.
class CGContext {
public:
    // Draws into `cairo`, which the caller owns and keeps alive.
    explicit CGContext(cairo_t* cairo);
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    void saveGState();
    // Ignored when there is no saved state left.
    void restoreGState();

    void translateBy(CGFloat tx, CGFloat ty);
    void scaleBy(CGFloat sx, CGFloat sy);
    void rotate(CGFloat angle);
    void concatenate(const CGAffineTransform& transform);
    // The user-space to device-space transform.
    const CGAffineTransform& ctm() const { return state_.back().space.ctm; }

    // Intersects the clip with `rect` in user space.
    void clip(CGRect rect);

    const UIColor& fillColor() const { return state_.back().fill; }
    const UIColor& strokeColor() const { return state_.back().stroke; }
    void setFillColor(const UIColor& color) { state_.back().fill = color; }
    void setStrokeColor(const UIColor& color) { state_.back().stroke = color; }

    // Non-zero winding fill with the fill colour.
    void fillPath(const UIBezierPath& path);
    // Stroke with the stroke colour and the path's width, cap and join.
    void strokePath(const UIBezierPath& path);
    void fill(CGRect rect);
    // The image scaled into `rect`, upright (its top row at rect's top).
    void drawImage(const UIImage& image, CGRect rect);

    // `string` laid out at `rect`'s width from its top-left corner (see
    // NSStringDrawing.h); recorded for a listening TextDrawRecorder even
    // when nothing can be painted.
    void drawText(const std::string& string, CGRect rect, const NSStringAttributes& attributes);

    // False while a singular transform or an empty clip makes painting
    // impossible (see above).
    bool canPaint() const { return state_.back().space.paintable; }
    // Whether anything was filled, stroked or drawn into the context yet
    // (painted or skipped).
    bool hasPainted() const { return painted_; }
    cairo_t* cairo() const { return cairo_; }

private:
    struct State {
        DeviceSpace space;
        UIColor fill = UIColor::black();
        UIColor stroke = UIColor::black();
    };

    void appendPath(const UIBezierPath& path);
    void setSourceColor(const UIColor& color);

    cairo_t* cairo_;
    std::vector<State> state_;
    bool painted_ = false;
};
