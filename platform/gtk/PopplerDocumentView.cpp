#include "PopplerDocumentView.h"

#include <algorithm>
#include <cmath>

namespace {

// The scale that makes a page `pageWidth` wide fill a column `width` wide
// less its margins.
double scaleFor(double pageWidth, double width)
{
    return std::max(width - 2 * PopplerDocumentView::kMargin, 1.0) / pageWidth;
}

} // namespace

PopplerDocumentView::PopplerDocumentView()
    : scroller_(GTK_WIDGET(g_object_ref_sink(gtk_scrolled_window_new(nullptr, nullptr)))),
      pages_(GTK_WIDGET(g_object_ref_sink(gtk_layout_new(nullptr, nullptr))))
{
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller_), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_container_add(GTK_CONTAINER(scroller_), pages_);
    g_signal_connect(pages_, "draw", G_CALLBACK(+[](GtkWidget* pages, cairo_t* cairo, gpointer self) {
                         GdkWindow* column = gtk_layout_get_bin_window(GTK_LAYOUT(pages));
                         if (gtk_cairo_should_draw_window(cairo, column)) {
                             cairo_save(cairo);
                             gtk_cairo_transform_to_window(cairo, pages, column);
                             const auto& view = *static_cast<const PopplerDocumentView*>(self);
                             view.draw(cairo, gtk_widget_get_allocated_width(pages));
                             cairo_restore(cairo);
                         }
                         return FALSE;
                     }),
                     this);
    g_signal_connect(pages_, "size-allocate", G_CALLBACK(+[](GtkWidget*, GdkRectangle* allocation, gpointer self) {
                         static_cast<PopplerDocumentView*>(self)->fitToWidth(allocation->width);
                     }),
                     this);
    gtk_widget_show_all(scroller_);
}

PopplerDocumentView::~PopplerDocumentView()
{
    g_signal_handlers_disconnect_by_data(pages_, this);
    g_object_unref(pages_);
    g_object_unref(scroller_);
}

bool PopplerDocumentView::open(const URL& url)
{
    GFile* file = g_file_new_for_uri(url.absoluteString().c_str());
    std::unique_ptr<PopplerDocument, DocumentRelease> document(
        poppler_document_new_from_gfile(file, nullptr, nullptr, nullptr));
    g_object_unref(file);
    if (!document || poppler_document_get_n_pages(document.get()) == 0) {
        return false;
    }
    document_ = std::move(document);
    gtk_adjustment_set_value(gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scroller_)), 0);
    fitToWidth(gtk_widget_get_allocated_width(pages_));
    gtk_widget_queue_draw(pages_);
    return true;
}

std::pair<double, double> PopplerDocumentView::pageSize(int index) const
{
    PopplerPage* page = poppler_document_get_page(document_.get(), index);
    std::pair<double, double> size;
    poppler_page_get_size(page, &size.first, &size.second);
    g_object_unref(page);
    return size;
}

double PopplerDocumentView::columnHeight(double width) const
{
    double height = kMargin;
    const int count = poppler_document_get_n_pages(document_.get());
    for (int index = 0; index < count; ++index) {
        const auto [pageWidth, pageHeight] = pageSize(index);
        height += pageHeight * scaleFor(pageWidth, width) + kMargin;
    }
    return height;
}

// The page column's height follows the width it is given, so that the
// scroller knows how far it scrolls.
void PopplerDocumentView::fitToWidth(int width)
{
    const double height = document_ ? columnHeight(width) : 0;
    gtk_layout_set_size(GTK_LAYOUT(pages_), static_cast<guint>(width), static_cast<guint>(std::ceil(height)));
}

void PopplerDocumentView::draw(cairo_t* cairo, double width) const
{
    cairo_set_source_rgb(cairo, 0.5, 0.5, 0.5);
    cairo_paint(cairo);
    if (!document_) {
        return;
    }
    double clipTop = 0;
    double clipBottom = 0;
    cairo_clip_extents(cairo, nullptr, &clipTop, nullptr, &clipBottom);
    double top = kMargin;
    const int count = poppler_document_get_n_pages(document_.get());
    for (int index = 0; index < count && top < clipBottom; ++index) {
        const auto [pageWidth, pageHeight] = pageSize(index);
        const double scale = scaleFor(pageWidth, width);
        if (top + pageHeight * scale > clipTop) {
            PopplerPage* page = poppler_document_get_page(document_.get(), index);
            cairo_save(cairo);
            cairo_translate(cairo, kMargin, top);
            cairo_scale(cairo, scale, scale);
            cairo_rectangle(cairo, 0, 0, pageWidth, pageHeight);
            cairo_set_source_rgb(cairo, 1, 1, 1);
            cairo_fill(cairo);
            poppler_page_render(page, cairo);
            cairo_restore(cairo);
            g_object_unref(page);
        }
        top += pageHeight * scale + kMargin;
    }
}
