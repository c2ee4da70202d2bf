#pragma once

#include "URL.h"

#include <gtk/gtk.h>
#include <poppler.h>

#include <memory>
#include <utility>

// Shows a PDF document as a column of pages, each scaled to the view's width,
// in a vertically scrolling view; used where the browser engine cannot show
// PDFs itself.
class PopplerDocumentView {
public:
    // Gap between pages and around them, in pixels.
    static constexpr double kMargin = 8.0;

    PopplerDocumentView();
    ~PopplerDocumentView();
    PopplerDocumentView(const PopplerDocumentView&) = delete;
    PopplerDocumentView& operator=(const PopplerDocumentView&) = delete;

    // Shows the document at `url` from its first page; false, leaving the view
    // as it was, when it cannot be read as a PDF.
    bool open(const URL& url);

    // The view's widget; the document view holds a reference to it.
    GtkWidget* widget() const { return scroller_; }

private:
    struct DocumentRelease {
        void operator()(PopplerDocument* document) const { g_object_unref(document); }
    };

    // Width and height of page `index`, in points.
    std::pair<double, double> pageSize(int index) const;
    // The height of the page column at `width`.
    double columnHeight(double width) const;
    void fitToWidth(int width);
    void draw(cairo_t* cairo, double width) const;

    GtkWidget* scroller_;
    GtkWidget* pages_;
    std::unique_ptr<PopplerDocument, DocumentRelease> document_;
};
