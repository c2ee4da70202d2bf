#pragma once

#include "../support/DrawnImages.h"

#include "CGPoint.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

// GTK on the virtual display the shell tests run on; once per process.
inline bool gtkReady()
{
    static const bool ready = gtk_init_check(nullptr, nullptr);
    return ready;
}

// Runs GLib's main context (and with it the shell and the main run loop)
// until `done` holds or `seconds` have passed; returns `done()`.
template <class Condition> bool pumpUntil(Condition done, double seconds = 10)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        if (!g_main_context_iteration(nullptr, FALSE)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return done();
}

// Pumps for `seconds` whatever happens.
inline void pumpFor(double seconds)
{
    pumpUntil([] { return false; }, seconds);
}

// A new event of `type` for `widget`'s window.
inline GdkEvent* eventFor(GtkWidget* widget, GdkEventType type)
{
    GdkEvent* event = gdk_event_new(type);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    return event;
}

// Sends an event made by eventFor through GTK to the widget as the display
// would, from the pointer, and frees it.
inline void sendEvent(GtkWidget* widget, GdkEvent* event)
{
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gtk_widget_get_display(widget))));
    gtk_widget_event(widget, event);
    gdk_event_free(event);
}

// A primary-button event at `point` of `widget`.
inline void sendButton(GtkWidget* widget, GdkEventType type, CGPoint point)
{
    GdkEvent* event = eventFor(widget, type);
    event->button.x = point.x;
    event->button.y = point.y;
    event->button.button = GDK_BUTTON_PRIMARY;
    event->button.time = GDK_CURRENT_TIME;
    sendEvent(widget, event);
}

inline void click(GtkWidget* widget, CGPoint point)
{
    sendButton(widget, GDK_BUTTON_PRESS, point);
    sendButton(widget, GDK_BUTTON_RELEASE, point);
}

// A press at `from`, one move to `to` with the button held and a release.
inline void drag(GtkWidget* widget, CGPoint from, CGPoint to)
{
    sendButton(widget, GDK_BUTTON_PRESS, from);
    GdkEvent* event = eventFor(widget, GDK_MOTION_NOTIFY);
    event->motion.x = to.x;
    event->motion.y = to.y;
    sendEvent(widget, event);
    sendButton(widget, GDK_BUTTON_RELEASE, to);
}

// One notch of the scroll wheel at `point` with Ctrl held.
inline void zoomStep(GtkWidget* widget, CGPoint point, GdkScrollDirection direction)
{
    GdkEvent* event = eventFor(widget, GDK_SCROLL);
    event->scroll.x = point.x;
    event->scroll.y = point.y;
    event->scroll.direction = direction;
    event->scroll.state = GDK_CONTROL_MASK;
    sendEvent(widget, event);
}

// The pixel of an ARGB image surface at (x, y) as red, green, blue.
inline std::array<int, 3> pixelAt(cairo_surface_t* surface, int x, int y)
{
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t value = 0;
    std::memcpy(&value, row + 4 * x, sizeof value);
    return {int((value >> 16) & 0xff), int((value >> 8) & 0xff), int(value & 0xff)};
}

// Whether `pixel` is within `tolerance` of `expected` in every channel.
inline ::testing::AssertionResult near(std::array<int, 3> pixel, std::array<int, 3> expected, int tolerance = 2)
{
    for (std::size_t channel = 0; channel < 3; ++channel) {
        if (std::abs(pixel[channel] - expected[channel]) > tolerance) {
            return ::testing::AssertionFailure() << "pixel (" << pixel[0] << ", " << pixel[1] << ", " << pixel[2]
                                                 << ") is not (" << expected[0] << ", " << expected[1] << ", "
                                                 << expected[2] << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

// Keeps the image as the test's drawn picture.
inline void keepSurface(cairo_surface_t* surface, const std::string& suffix = "")
{
    const auto path = drawnImagePath(suffix);
    EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS) << path;
}
