#pragma once

#include "GLibRunLoopSource.h"
#include "GtkPresentationHost.h"
#include "PointerInput.h"
#include "WindowCompositor.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <gtk/gtk.h>

class UIViewController;
class UIWindow;
class WKWebView;

// The application's GTK window. It shows a UIWindow (and, full-window over
// it, each presented screen in its own UIWindow) on a drawing area whose size
// becomes the windows' frames; pumps the main run loop from GLib; turns
// pointer, scroll and touch input into touches and gestures for the topmost
// window; and shows presented alerts and pickers as GTK dialogs while it
// lives. Web views of a presented screen get a WebKitGTK engine whose widget
// lies over their frame while they are shown.
//
// After each run-loop pass and each input event the shown views lay
// themselves out and draw what asked for it; the shell keeps a picture of
// the part of the windows their views draw into, however large the window,
// paints it again only where their look changed and repaints only that area
// of the window. Closing the window quits the GTK main loop (when one runs).
// Main thread only; GTK must be initialised first.
class GtkApplicationShell {
public:
    GtkApplicationShell(std::shared_ptr<UIWindow> window, const std::string& title);
    ~GtkApplicationShell();
    GtkApplicationShell(const GtkApplicationShell&) = delete;
    GtkApplicationShell& operator=(const GtkApplicationShell&) = delete;

    // Shows the GTK window at the UIWindow's size.
    void show();
    // The GTK window (none once it was closed) and the drawing area in it.
    GtkWidget* window() const { return toplevel_; }
    GtkWidget* canvas() const { return canvas_; }

    // Lays out and draws the views that asked for it and repaints the areas
    // of the window whose look changed.
    void refresh();
    // How many repaints were asked of GTK so far, and how many of the
    // widget's pixels they covered together.
    std::size_t repaintCount() const { return repaints_; }
    std::size_t repaintedArea() const { return repaintedArea_; }
    // The kept picture's size in device pixels: the part of the window, from
    // its top-left corner, that the views draw into; the rest shows only the
    // background.
    CGSize pictureSize() const;
    // The whole GTK window painted into a new image surface now; the caller
    // destroys it. None once the window is closed.
    cairo_surface_t* snapshot() const;

    // Shows `controller`'s view full-window over what is shown, in a window
    // of its own, its web views backed by WebKitGTK; until hideOver().
    void showOver(const std::shared_ptr<UIViewController>& controller);
    void hideOver(const UIViewController& controller);

    GtkPresentationHost& presentationHost() { return presentationHost_; }

private:
    struct WebPane {
        std::weak_ptr<WKWebView> view;
        GtkWidget* widget;
    };
    struct Layer {
        std::shared_ptr<UIViewController> controller;
        std::shared_ptr<UIWindow> window;
        std::vector<WebPane> panes;
    };

    static gboolean onDraw(GtkWidget* widget, cairo_t* cairo, gpointer self);
    static void onSizeAllocate(GtkWidget* widget, GdkRectangle* allocation, gpointer self);
    static gboolean onButton(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean onScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
    static gboolean onTouch(GtkWidget* widget, GdkEventTouch* event, gpointer self);
    static gboolean onGrabBroken(GtkWidget* widget, GdkEvent* event, gpointer self);
    static void onZoomBegin(GtkGesture* gesture, GdkEventSequence* sequence, gpointer self);
    static void onZoomScale(GtkGestureZoom* gesture, gdouble scale, gpointer self);
    static void onZoomEnd(GtkGesture* gesture, GdkEventSequence* sequence, gpointer self);
    static void onScaleFactor(GtkWidget* widget, GParamSpec* property, gpointer self);
    static void onDestroy(GtkWidget* widget, gpointer self);
    static gboolean onInputDeadline(gpointer self);

    void makeWidgets(const std::string& title);
    void connectInput();
    std::shared_ptr<UIView> inputTarget() const;
    // After input: the views catch up and the next gesture deadline is set.
    void afterInput();
    void scheduleInputDeadline();
    void resize(int width, int height);
    std::vector<const UIWindow*> windows() const;
    void invalidateChanges();
    void paintPicture(const std::vector<const UIWindow*>& shown, CGSize size, int scale, const CGRect& area);
    bool keepPicture(int width, int height);
    void paintBeyondPicture(cairo_t* cairo, double width, double height) const;
    void attachWebViews(const std::shared_ptr<UIView>& view, Layer& layer);
    void placeWebPanes();
    void detachWebPanes();

    std::vector<Layer> layers_;
    GtkWidget* toplevel_ = nullptr;
    GtkWidget* canvas_ = nullptr;
    GtkWidget* panes_ = nullptr;
    GtkGesture* zoom_ = nullptr;
    PointerInput input_;
    bool zooming_ = false;
    guint inputDeadline_ = 0;
    std::size_t repaints_ = 0;
    std::size_t repaintedArea_ = 0;
    WindowCompositor compositor_;
    // What the windows' drawn area looks like, in the widget's device pixels.
    cairo_surface_t* picture_ = nullptr;
    GtkPresentationHost presentationHost_;
    GLibRunLoopSource runLoopSource_;
};
