#pragma once

#include "CGRect.h"
#include "NSStringDrawing.h"

#include <string>

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

// A string laid out by Pango with the given attributes, wrapped at a width
// (none when the width is not a positive finite number), in user-space units.
// Metrics are unhinted and glyph positions unrounded, so that a word keeps
// its face's spacing at every size and scale.
class TextLayout {
public:
    // Laid out for measuring only, independent of any context's transform.
    TextLayout(const std::string& string, CGFloat width, const NSStringAttributes& attributes);
    // Laid out for drawing into `cairo` under its current transform.
    TextLayout(const std::string& string, CGFloat width, const NSStringAttributes& attributes,
               cairo_t* cairo);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // Width of the widest line and height of all lines.
    CGSize size() const;
    // Paints the text with its top-left corner at `origin`.
    void show(cairo_t* cairo, CGPoint origin) const;

private:
    void layOut(const std::string& string, CGFloat width, const NSStringAttributes& attributes);
    void limitLines(int lines);

    PangoContext* context_;
    PangoLayout* layout_ = nullptr;
};
