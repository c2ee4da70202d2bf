#include "TextLayout.h"

#include "FontLibrary.h"

#include <pango/pangocairo.h>

#include <cmath>

namespace {

// Widths above this do not fit Pango's units; they wrap nothing anyway.
constexpr CGFloat kWidestWrap = 1e6;

// Unhinted metrics, so that a text measures the same at every scale.
void setFontOptions(PangoContext* context)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
}

PangoAlignment pangoAlignment(NSTextAlignment alignment)
{
    switch (alignment) {
    case NSTextAlignment::center:
        return PANGO_ALIGN_CENTER;
    case NSTextAlignment::right:
        return PANGO_ALIGN_RIGHT;
    case NSTextAlignment::left:
        break;
    }
    return PANGO_ALIGN_LEFT;
}

} // namespace

TextLayout::TextLayout(const std::string& string, CGFloat width,
                       const NSStringAttributes& attributes)
    : context_(pango_font_map_create_context(FontLibrary::fontMap()))
{
    setFontOptions(context_);
    layOut(string, width, attributes);
}

TextLayout::TextLayout(const std::string& string, CGFloat width,
                       const NSStringAttributes& attributes, cairo_t* cairo)
    : context_(pango_font_map_create_context(FontLibrary::fontMap()))
{
    pango_cairo_update_context(cairo, context_);
    setFontOptions(context_);
    layOut(string, width, attributes);
}

TextLayout::~TextLayout()
{
    g_object_unref(layout_);
    g_object_unref(context_);
}

void TextLayout::layOut(const std::string& string, CGFloat width,
                        const NSStringAttributes& attributes)
{
    layout_ = pango_layout_new(context_);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, attributes.font.fontName().c_str());
    pango_font_description_set_absolute_size(font, attributes.font.pointSize() * PANGO_SCALE);
    pango_layout_set_font_description(layout_, font);
    pango_font_description_free(font);
    if (std::isfinite(width) && width > 0 && width < kWidestWrap) {
        pango_layout_set_width(layout_, static_cast<int>(std::lround(width * PANGO_SCALE)));
        pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
        // A word wider than the line is broken between two characters, as
        // the platform does, without a hyphen added.
        PangoAttrList* noHyphens = pango_attr_list_new();
        pango_attr_list_insert(noHyphens, pango_attr_insert_hyphens_new(FALSE));
        pango_layout_set_attributes(layout_, noHyphens);
        pango_attr_list_unref(noHyphens);
    }
    pango_layout_set_alignment(layout_, pangoAlignment(attributes.alignment));
    pango_layout_set_text(layout_, string.data(), static_cast<int>(string.size()));
    if (pango_layout_get_width(layout_) > 0 && attributes.maximumNumberOfLines > 0) {
        limitLines(attributes.maximumNumberOfLines);
    }
}

void TextLayout::limitLines(int lines)
{
    if (pango_layout_get_line_count(layout_) <= lines) {
        return;
    }
    // A height limit rather than a line count, which Pango would apply to
    // each paragraph; the lines of one font are all as high as the first.
    PangoRectangle first;
    pango_layout_line_get_extents(pango_layout_get_line_readonly(layout_, 0), nullptr, &first);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout_, lines * first.height);
}

CGSize TextLayout::size() const
{
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return {static_cast<CGFloat>(logical.width) / PANGO_SCALE,
            static_cast<CGFloat>(logical.height) / PANGO_SCALE};
}

void TextLayout::show(cairo_t* cairo, CGPoint origin) const
{
    // Filled as outlines: an image surface would put each glyph on a whole
    // pixel, which moves the letters of a small word apart or together.
    cairo_new_path(cairo);
    cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_WINDING);
    cairo_move_to(cairo, origin.x, origin.y);
    pango_cairo_layout_path(cairo, layout_);
    cairo_fill(cairo);
}
