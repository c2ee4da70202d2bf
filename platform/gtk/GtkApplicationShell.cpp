#include "GtkApplicationShell.h"

#include "CGContext.h"
#include "GtkWebViewEngine.h"
#include "UIApplication.h"
#include "UIScreen.h"
#include "UIViewController.h"
#include "UIWindow.h"
#include "WKWebView.h"

#include <algorithm>
#include <cmath>

namespace {

// Behind every window: the views paint over it.
const UIColor kBackground(0.11, 1);

double secondsNow()
{
    return double(g_get_monotonic_time()) / 1e6;
}

void askForDisplay(UIView& view)
{
    view.setNeedsDisplay();
    for (const auto& subview : view.subviews()) {
        askForDisplay(*subview);
    }
}

bool isShown(const UIView& view)
{
    for (const UIView* current = &view; current != nullptr; current = current->superview().get()) {
        if (current->isHidden() || current->alpha() <= 0) {
            return false;
        }
    }
    return true;
}

} // namespace

GtkApplicationShell::GtkApplicationShell(std::shared_ptr<UIWindow> window, const std::string& title)
    : input_([this] { return inputTarget(); })
    , compositor_(kBackground)
    , presentationHost_(*this)
    , runLoopSource_([this] { refresh(); })
{
    layers_.push_back({nullptr, std::move(window), {}});
    makeWidgets(title);
    connectInput();
    UIApplication::shared().setPresentationHost(&presentationHost_);
}

GtkApplicationShell::~GtkApplicationShell()
{
    UIApplication::shared().setPresentationHost(nullptr);
    if (toplevel_ != nullptr) {
        g_signal_handlers_disconnect_by_data(toplevel_, this);
        detachWebPanes();
        gtk_widget_destroy(toplevel_);
    }
    // After the window: taking it away may still break a grab or end a zoom,
    // whose handlers set a new input deadline.
    if (inputDeadline_ != 0) {
        g_source_remove(inputDeadline_);
    }
    if (zoom_ != nullptr) {
        g_object_unref(zoom_);
    }
    if (picture_ != nullptr) {
        cairo_surface_destroy(picture_);
    }
}

void GtkApplicationShell::detachWebPanes()
{
    for (auto& layer : layers_) {
        for (const auto& pane : layer.panes) {
            gtk_container_remove(GTK_CONTAINER(panes_), pane.widget);
        }
        layer.panes.clear();
    }
}

void GtkApplicationShell::makeWidgets(const std::string& title)
{
    toplevel_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(toplevel_), title.c_str());
    const CGRect frame = layers_.front().window->frame();
    gtk_window_set_default_size(GTK_WINDOW(toplevel_), int(std::lround(frame.width())),
                                int(std::lround(frame.height())));
    GtkWidget* overlay = gtk_overlay_new();
    canvas_ = gtk_drawing_area_new();
    gtk_widget_set_can_focus(canvas_, TRUE);
    gtk_container_add(GTK_CONTAINER(overlay), canvas_);
    // Web views lie over the drawing; everywhere else input falls through.
    panes_ = gtk_fixed_new();
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), panes_);
    gtk_overlay_set_overlay_pass_through(GTK_OVERLAY(overlay), panes_, TRUE);
    gtk_container_add(GTK_CONTAINER(toplevel_), overlay);
    g_signal_connect(canvas_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(canvas_, "size-allocate", G_CALLBACK(onSizeAllocate), this);
    g_signal_connect(toplevel_, "destroy", G_CALLBACK(onDestroy), this);
    g_signal_connect(canvas_, "notify::scale-factor", G_CALLBACK(onScaleFactor), this);
}

void GtkApplicationShell::connectInput()
{
    gtk_widget_add_events(canvas_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_BUTTON1_MOTION_MASK |
                                       GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_TOUCH_MASK);
    g_signal_connect(canvas_, "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(canvas_, "button-release-event", G_CALLBACK(onButton), this);
    g_signal_connect(canvas_, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(canvas_, "scroll-event", G_CALLBACK(onScroll), this);
    g_signal_connect(canvas_, "touch-event", G_CALLBACK(onTouch), this);
    g_signal_connect(canvas_, "grab-broken-event", G_CALLBACK(onGrabBroken), this);
    zoom_ = gtk_gesture_zoom_new(canvas_);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(zoom_), GTK_PHASE_CAPTURE);
    g_signal_connect(zoom_, "begin", G_CALLBACK(onZoomBegin), this);
    g_signal_connect(zoom_, "scale-changed", G_CALLBACK(onZoomScale), this);
    g_signal_connect(zoom_, "end", G_CALLBACK(onZoomEnd), this);
}

void GtkApplicationShell::show()
{
    if (toplevel_ != nullptr) {
        gtk_widget_show_all(toplevel_);
        UIScreen::main().setScale(gtk_widget_get_scale_factor(canvas_));
        refresh();
    }
}

void GtkApplicationShell::onScaleFactor(GtkWidget* widget, GParamSpec*, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    UIScreen::main().setScale(gtk_widget_get_scale_factor(widget));
    // Every drawing was made for the former scale.
    for (const auto& layer : shell.layers_) {
        askForDisplay(*layer.window);
    }
    shell.refresh();
}

void GtkApplicationShell::onDestroy(GtkWidget*, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    // The web views' engines keep their widgets; they leave before the
    // window destroys what it holds.
    shell.detachWebPanes();
    shell.toplevel_ = nullptr;
    shell.canvas_ = nullptr;
    shell.panes_ = nullptr;
    if (gtk_main_level() > 0) {
        gtk_main_quit();
    }
}

void GtkApplicationShell::refresh()
{
    for (const auto& layer : layers_) {
        layer.window->layoutIfNeeded();
        layer.window->displayIfNeeded();
    }
    placeWebPanes();
    if (canvas_ != nullptr) {
        invalidateChanges();
    }
}

std::vector<const UIWindow*> GtkApplicationShell::windows() const
{
    std::vector<const UIWindow*> shown;
    for (const auto& layer : layers_) {
        shown.push_back(layer.window.get());
    }
    return shown;
}

// The kept picture holds only the drawn area of the windows, and is painted
// again where their look changed; that change goes to the display, in the
// widget's coordinates at its scale.
void GtkApplicationShell::invalidateChanges()
{
    const int scale = gtk_widget_get_scale_factor(canvas_);
    const CGSize size(gtk_widget_get_allocated_width(canvas_), gtk_widget_get_allocated_height(canvas_));
    const auto shown = windows();
    const CGRect change = compositor_.change(shown, size, scale);
    const CGRect drawn = compositor_.drawnArea();
    const bool fresh = keepPicture(int(drawn.width()), int(drawn.height()));
    const CGRect repainted = fresh ? drawn : change;
    if (repainted.width() > 0 && repainted.height() > 0) {
        paintPicture(shown, size, scale, repainted);
    }
    if (change.width() == 0 || change.height() == 0) {
        return;
    }
    const int left = int(std::floor(change.minX() / scale));
    const int top = int(std::floor(change.minY() / scale));
    const int width = int(std::ceil(change.maxX() / scale)) - left;
    const int height = int(std::ceil(change.maxY() / scale)) - top;
    gtk_widget_queue_draw_area(canvas_, left, top, width, height);
    repaintedArea_ += std::size_t(width) * std::size_t(height);
    ++repaints_;
}

void GtkApplicationShell::paintPicture(const std::vector<const UIWindow*>& shown, CGSize size, int scale,
                                       const CGRect& area)
{
    cairo_t* cairo = cairo_create(picture_);
    cairo_scale(cairo, scale, scale);
    {
        CGContext context(cairo);
        compositor_.paint(context, shown, size, area);
    }
    cairo_destroy(cairo);
    cairo_surface_flush(picture_);
}

// A picture of another size starts anew, to be painted whole; whether it did.
bool GtkApplicationShell::keepPicture(int width, int height)
{
    if (picture_ != nullptr && cairo_image_surface_get_width(picture_) == width &&
        cairo_image_surface_get_height(picture_) == height) {
        return false;
    }
    if (picture_ != nullptr) {
        cairo_surface_destroy(picture_);
    }
    picture_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    return true;
}

gboolean GtkApplicationShell::onDraw(GtkWidget* widget, cairo_t* cairo, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    if (shell.picture_ == nullptr) {
        shell.invalidateChanges();
    }
    // The kept picture lies on the widget's device pixels as it is; GTK
    // clips to the areas invalidated since the last draw.
    const double scale = gtk_widget_get_scale_factor(widget);
    cairo_save(cairo);
    cairo_scale(cairo, 1 / scale, 1 / scale);
    shell.paintBeyondPicture(cairo, gtk_widget_get_allocated_width(widget) * scale,
                             gtk_widget_get_allocated_height(widget) * scale);
    cairo_set_source_surface(cairo, shell.picture_, 0, 0);
    cairo_paint(cairo);
    cairo_restore(cairo);
    return TRUE;
}

// Right of and below the drawn area the windows show their background.
void GtkApplicationShell::paintBeyondPicture(cairo_t* cairo, double width, double height) const
{
    const int drawnWidth = cairo_image_surface_get_width(picture_);
    const int drawnHeight = cairo_image_surface_get_height(picture_);
    CGContext context(cairo);
    context.setFillColor(kBackground);
    if (width > drawnWidth) {
        context.fill(CGRect(drawnWidth, 0, width - drawnWidth, height));
    }
    if (height > drawnHeight) {
        context.fill(CGRect(0, drawnHeight, drawnWidth, height - drawnHeight));
    }
}

void GtkApplicationShell::onSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self)
{
    static_cast<GtkApplicationShell*>(self)->resize(allocation->width, allocation->height);
}

void GtkApplicationShell::resize(int width, int height)
{
    const CGRect frame(0, 0, width, height);
    for (const auto& layer : layers_) {
        if (layer.window->frame() == frame) {
            continue;
        }
        layer.window->setFrame(frame);
        if (const auto& root = layer.window->rootViewController()) {
            root->view()->setFrame(frame);
        }
    }
    refresh();
}

void GtkApplicationShell::showOver(const std::shared_ptr<UIViewController>& controller)
{
    auto window = std::make_shared<UIWindow>(layers_.front().window->frame());
    window->setRootViewController(controller);
    Layer layer{controller, std::move(window), {}};
    attachWebViews(controller->view(), layer);
    layers_.push_back(std::move(layer));
    input_.cancel();
    refresh();
}

void GtkApplicationShell::attachWebViews(const std::shared_ptr<UIView>& view, Layer& layer)
{
    if (panes_ == nullptr) {
        return;
    }
    if (const auto webView = std::dynamic_pointer_cast<WKWebView>(view)) {
        auto engine = std::make_shared<GtkWebViewEngine>(*webView);
        GtkWidget* widget = engine->widget();
        webView->setEngine(engine);
        gtk_fixed_put(GTK_FIXED(panes_), widget, 0, 0);
        layer.panes.push_back({webView, widget});
    }
    for (const auto& subview : view->subviews()) {
        attachWebViews(subview, layer);
    }
}

void GtkApplicationShell::hideOver(const UIViewController& controller)
{
    const auto found = std::find_if(layers_.begin(), layers_.end(),
                                    [&](const Layer& layer) { return layer.controller.get() == &controller; });
    if (found == layers_.end()) {
        return;
    }
    for (const auto& pane : found->panes) {
        if (panes_ != nullptr) {
            gtk_container_remove(GTK_CONTAINER(panes_), pane.widget);
        }
    }
    layers_.erase(found);
    input_.cancel();
    refresh();
}

void GtkApplicationShell::placeWebPanes()
{
    if (panes_ == nullptr) {
        return;
    }
    for (std::size_t index = 0; index < layers_.size(); ++index) {
        const bool topmost = index + 1 == layers_.size();
        for (const auto& pane : layers_[index].panes) {
            const auto view = pane.view.lock();
            const bool shown = topmost && view && isShown(*view);
            gtk_widget_set_visible(pane.widget, shown);
            if (!shown) {
                continue;
            }
            const CGPoint topLeft = view->convertToRoot({0, 0});
            const CGPoint bottomRight = view->convertToRoot({view->bounds().width(), view->bounds().height()});
            gtk_fixed_move(GTK_FIXED(panes_), pane.widget, int(std::lround(topLeft.x)), int(std::lround(topLeft.y)));
            gtk_widget_set_size_request(pane.widget, int(std::lround(bottomRight.x - topLeft.x)),
                                        int(std::lround(bottomRight.y - topLeft.y)));
        }
    }
}

CGSize GtkApplicationShell::pictureSize() const
{
    if (picture_ == nullptr) {
        return {};
    }
    return {CGFloat(cairo_image_surface_get_width(picture_)), CGFloat(cairo_image_surface_get_height(picture_))};
}

cairo_surface_t* GtkApplicationShell::snapshot() const
{
    if (toplevel_ == nullptr) {
        return nullptr;
    }
    const int width = gtk_widget_get_allocated_width(toplevel_);
    const int height = gtk_widget_get_allocated_height(toplevel_);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(surface);
    gtk_widget_draw(toplevel_, cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    return surface;
}

std::shared_ptr<UIView> GtkApplicationShell::inputTarget() const
{
    return layers_.back().window;
}

gboolean GtkApplicationShell::onButton(GtkWidget* widget, GdkEventButton* event, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    // Touchscreens also send pointer events; their touches are read as such.
    if (event->button != GDK_BUTTON_PRIMARY || gdk_event_get_pointer_emulated(reinterpret_cast<GdkEvent*>(event))) {
        return FALSE;
    }
    const CGPoint point{event->x, event->y};
    if (event->type == GDK_BUTTON_PRESS) {
        gtk_widget_grab_focus(widget);
        shell.input_.press(point, secondsNow());
    } else if (event->type == GDK_BUTTON_RELEASE) {
        shell.input_.release(point, secondsNow());
    } else {
        // Double and triple clicks: their presses were already counted.
        return TRUE;
    }
    shell.afterInput();
    return TRUE;
}

gboolean GtkApplicationShell::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    if (gdk_event_get_pointer_emulated(reinterpret_cast<GdkEvent*>(event))) {
        return FALSE;
    }
    shell.input_.move({event->x, event->y}, secondsNow());
    shell.afterInput();
    return TRUE;
}

gboolean GtkApplicationShell::onScroll(GtkWidget*, GdkEventScroll* event, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    if ((event->state & GDK_CONTROL_MASK) == 0) {
        return FALSE;
    }
    // Scrolling up (away from the user) zooms in.
    double steps = 0;
    if (event->direction == GDK_SCROLL_UP) {
        steps = 1;
    } else if (event->direction == GDK_SCROLL_DOWN) {
        steps = -1;
    } else if (event->direction == GDK_SCROLL_SMOOTH) {
        steps = -event->delta_y;
    }
    if (steps != 0) {
        shell.input_.zoomStep({event->x, event->y}, std::pow(PointerGestures::kZoomStepFactor, steps), secondsNow());
        shell.afterInput();
    }
    return TRUE;
}

gboolean GtkApplicationShell::onTouch(GtkWidget*, GdkEventTouch* event, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    // The first finger is the touch; a second one makes a zoom of the two.
    if (!event->emulating_pointer || shell.zooming_) {
        return FALSE;
    }
    const CGPoint point{event->x, event->y};
    switch (event->type) {
    case GDK_TOUCH_BEGIN:
        shell.input_.press(point, secondsNow());
        break;
    case GDK_TOUCH_UPDATE:
        shell.input_.move(point, secondsNow());
        break;
    case GDK_TOUCH_END:
        shell.input_.release(point, secondsNow());
        break;
    default:
        shell.input_.cancel();
        break;
    }
    shell.afterInput();
    return TRUE;
}

gboolean GtkApplicationShell::onGrabBroken(GtkWidget*, GdkEvent*, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    shell.input_.cancel();
    shell.afterInput();
    return FALSE;
}

void GtkApplicationShell::onZoomBegin(GtkGesture* gesture, GdkEventSequence*, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    double x = 0;
    double y = 0;
    gtk_gesture_get_bounding_box_center(gesture, &x, &y);
    shell.zooming_ = true;
    shell.input_.zoomBegan({x, y});
    shell.afterInput();
}

void GtkApplicationShell::onZoomScale(GtkGestureZoom*, gdouble scale, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    shell.input_.zoomChanged(scale);
    shell.afterInput();
}

void GtkApplicationShell::onZoomEnd(GtkGesture*, GdkEventSequence*, gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    if (!shell.zooming_) {
        return;
    }
    shell.zooming_ = false;
    shell.input_.zoomEnded();
    shell.afterInput();
}

void GtkApplicationShell::afterInput()
{
    scheduleInputDeadline();
    refresh();
}

void GtkApplicationShell::scheduleInputDeadline()
{
    if (inputDeadline_ != 0) {
        g_source_remove(inputDeadline_);
        inputDeadline_ = 0;
    }
    if (const auto deadline = input_.nextDeadline()) {
        const double wait = std::max(0.0, *deadline - secondsNow());
        inputDeadline_ = g_timeout_add(guint(std::ceil(wait * 1000)), onInputDeadline, this);
    }
}

gboolean GtkApplicationShell::onInputDeadline(gpointer self)
{
    auto& shell = *static_cast<GtkApplicationShell*>(self);
    shell.inputDeadline_ = 0;
    shell.input_.advance(secondsNow());
    shell.afterInput();
    return G_SOURCE_REMOVE;
}
