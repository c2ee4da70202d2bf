#include "ManualTypesetter.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <stdexcept>
#include <string>

namespace {

constexpr double kTextWidth = ManualTypesetter::kPageWidth - 2 * ManualTypesetter::kMargin;
constexpr double kTextBottom = ManualTypesetter::kPageHeight - ManualTypesetter::kMargin;
// The page number's baseline, halfway down the bottom margin.
constexpr double kFooterBaseline = ManualTypesetter::kPageHeight - ManualTypesetter::kMargin / 2;
constexpr double kBulletIndent = 16;

struct Colour {
    double red, green, blue;
};
constexpr Colour kInk{0.1, 0.1, 0.1};
constexpr Colour kAccent{0.1, 0.45, 0.55};

// How a kind of block is set: its font, the space before and after it, its
// indent, its colour, the room it needs below its first line so that it does
// not stand alone at the foot of a page, and whether it may break inside words.
struct Style {
    const char* font;
    double before;
    double after;
    double indent;
    Colour colour;
    double keepWithNext;
    bool breaksWords = false;
};

const Style& styleOf(ManualBlock::Kind kind)
{
    static const Style kTitle{"TeX Gyre Heros Bold 20", 0, 16, 0, kAccent, 60};
    static const Style kHeading{"TeX Gyre Heros Bold 14", 12, 5, 0, kAccent, 48};
    static const Style kSubheading{"TeX Gyre Heros Bold 11", 6, 3, 0, kInk, 36};
    static const Style kParagraph{"TeX Gyre Heros 10", 0, 6, 0, kInk, 0};
    static const Style kItem{"TeX Gyre Heros 10", 0, 3, kBulletIndent, kInk, 0};
    static const Style kVerbatim{"TeX Gyre Cursor 10", 0, 6, kBulletIndent, kInk, 0, true};
    switch (kind) {
    case ManualBlock::Kind::title:
        return kTitle;
    case ManualBlock::Kind::heading:
        return kHeading;
    case ManualBlock::Kind::subheading:
        return kSubheading;
    case ManualBlock::Kind::item:
        return kItem;
    case ManualBlock::Kind::verbatim:
        return kVerbatim;
    case ManualBlock::Kind::paragraph:
        break;
    }
    return kParagraph;
}

double lineBottom(PangoLayoutIter* iterator)
{
    PangoRectangle line;
    pango_layout_iter_get_line_extents(iterator, nullptr, &line);
    return pango_units_to_double(line.y + line.height);
}

double firstLineBottom(PangoLayout* layout)
{
    PangoLayoutIter* iterator = pango_layout_get_iter(layout);
    const double bottom = lineBottom(iterator);
    pango_layout_iter_free(iterator);
    return bottom;
}

} // namespace

void ManualTypesetter::write(const std::vector<ManualBlock>& blocks, const std::filesystem::path& pdf)
{
    if (blocks.empty() || blocks.front().kind != ManualBlock::Kind::title) {
        throw std::invalid_argument("a manual starts with its title");
    }
    // Written beside the target and renamed when whole, so that a failed run
    // leaves no PDF that looks finished.
    const std::filesystem::path part = pdf.string() + ".part";
    const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
        cairo_pdf_surface_create(part.c_str(), kPageWidth, kPageHeight), cairo_surface_destroy);
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, blocks.front().text.c_str());
    {
        const std::unique_ptr<cairo_t, void (*)(cairo_t*)> cairo(cairo_create(surface.get()), cairo_destroy);
        ManualTypesetter typesetter(cairo.get());
        for (const auto& block : blocks) {
            typesetter.place(block);
        }
        typesetter.finishPage();
    }
    cairo_surface_finish(surface.get());
    if (const auto status = cairo_surface_status(surface.get()); status != CAIRO_STATUS_SUCCESS) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw std::runtime_error("cannot write " + pdf.string() + ": " + cairo_status_to_string(status));
    }
    std::filesystem::rename(part, pdf);
}

void ManualTypesetter::place(const ManualBlock& block)
{
    const Style& style = styleOf(block.kind);
    if (cursor_ > kMargin) {
        cursor_ += style.before;
    }
    const auto layout = makeLayout(style.font, block.text, kTextWidth - style.indent);
    if (style.breaksWords) {
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    }
    makeRoom(firstLineBottom(layout.get()) + style.keepWithNext);
    cairo_set_source_rgb(cairo_, style.colour.red, style.colour.green, style.colour.blue);
    if (block.kind == ManualBlock::Kind::item) {
        drawBullet(layout.get());
    }
    drawLines(layout.get(), kMargin + style.indent);
    cursor_ += style.after;
}

void ManualTypesetter::drawLines(PangoLayout* layout, double x)
{
    PangoLayoutIter* iterator = pango_layout_get_iter(layout);
    double top = cursor_; // where the layout's top lies on the page
    do {
        const double bottom = lineBottom(iterator);
        if (top + bottom > kTextBottom) {
            PangoRectangle line;
            pango_layout_iter_get_line_extents(iterator, nullptr, &line);
            finishPage();
            top = kMargin - pango_units_to_double(line.y);
        }
        cairo_move_to(cairo_, x, top + pango_units_to_double(pango_layout_iter_get_baseline(iterator)));
        pango_cairo_show_layout_line(cairo_, pango_layout_iter_get_line_readonly(iterator));
        cursor_ = top + bottom;
    } while (pango_layout_iter_next_line(iterator));
    pango_layout_iter_free(iterator);
}

void ManualTypesetter::drawBullet(PangoLayout* layout)
{
    const auto bullet = makeLayout("TeX Gyre Heros 10", "\u2022", kBulletIndent);
    cairo_move_to(cairo_, kMargin + 4,
                  cursor_ + pango_units_to_double(pango_layout_get_baseline(layout) -
                                                  pango_layout_get_baseline(bullet.get())));
    pango_cairo_show_layout(cairo_, bullet.get());
}

void ManualTypesetter::makeRoom(double height)
{
    if (cursor_ > kMargin && cursor_ + height > kTextBottom) {
        finishPage();
    }
}

void ManualTypesetter::finishPage()
{
    const auto number = makeLayout("TeX Gyre Heros 9", std::to_string(page_), kTextWidth);
    pango_layout_set_alignment(number.get(), PANGO_ALIGN_CENTER);
    // A page may end inside a block, whose lines go on in their own colour.
    cairo_save(cairo_);
    cairo_set_source_rgb(cairo_, 0.4, 0.4, 0.4);
    cairo_move_to(cairo_, kMargin, kFooterBaseline - pango_units_to_double(pango_layout_get_baseline(number.get())));
    pango_cairo_show_layout(cairo_, number.get());
    cairo_restore(cairo_);
    cairo_show_page(cairo_);
    ++page_;
    cursor_ = kMargin;
}

std::unique_ptr<PangoLayout, void (*)(void*)> ManualTypesetter::makeLayout(const char* font, const std::string& text,
                                                                            double width) const
{
    std::unique_ptr<PangoLayout, void (*)(void*)> layout(pango_cairo_create_layout(cairo_), g_object_unref);
    PangoFontDescription* description = pango_font_description_from_string(font);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);
    pango_layout_set_width(layout.get(), pango_units_from_double(width));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    return layout;
}
