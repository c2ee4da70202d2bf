#pragma once

#include <functional>

#include <glib.h>

// Runs the main run loop (and with it the main queue) from GLib's default
// main context: the context wakes when a block is posted or a timer is
// added, and sleeps until the next timer is due otherwise, never polling.
// `afterPass` runs after each pass, on the main thread. Made and destroyed
// on the main thread; only one lives at a time.
class GLibRunLoopSource {
public:
    explicit GLibRunLoopSource(std::function<void()> afterPass);
    ~GLibRunLoopSource();
    GLibRunLoopSource(const GLibRunLoopSource&) = delete;
    GLibRunLoopSource& operator=(const GLibRunLoopSource&) = delete;

private:
    struct Source;

    static gboolean prepare(GSource* source, gint* timeout);
    static gboolean check(GSource* source);
    static gboolean dispatch(GSource* source, GSourceFunc, gpointer);
    // Whether the loop has work now; otherwise `timeout` (if given) becomes
    // the milliseconds until its next timer, or -1.
    static bool ready(gint* timeout);

    static GSourceFuncs functions_;

    Source* source_;
    std::function<void()> afterPass_;
};
