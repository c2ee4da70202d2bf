#include "GLibRunLoopSource.h"

#include "Clock.h"
#include "RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

struct GLibRunLoopSource::Source {
    GSource base;
    GLibRunLoopSource* owner;
};

// GLib takes the table without const but never writes to it.
GSourceFuncs GLibRunLoopSource::functions_{&GLibRunLoopSource::prepare, &GLibRunLoopSource::check,
                                          &GLibRunLoopSource::dispatch, nullptr, nullptr, nullptr};

GLibRunLoopSource::GLibRunLoopSource(std::function<void()> afterPass)
    : source_(reinterpret_cast<Source*>(g_source_new(&functions_, sizeof(Source)))), afterPass_(std::move(afterPass))
{
    source_->owner = this;
    GMainContext* context = g_main_context_default();
    g_source_attach(&source_->base, context);
    // g_main_context_wakeup is safe from any thread and never blocks.
    RunLoop::main().setWakeHandler([context] { g_main_context_wakeup(context); });
}

GLibRunLoopSource::~GLibRunLoopSource()
{
    RunLoop::main().setWakeHandler({});
    g_source_destroy(&source_->base);
    g_source_unref(&source_->base);
}

bool GLibRunLoopSource::ready(gint* timeout)
{
    auto& loop = RunLoop::main();
    if (loop.hasPostedBlocks()) {
        return true;
    }
    const auto date = loop.nextFireDate();
    const auto now = Clock::now();
    if (date && *date <= now) {
        return true;
    }
    if (timeout) {
        // Rounded up: waking a little late fires the timer, waking early
        // would only spin once more.
        *timeout = -1;
        if (date) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*date - now).count();
            *timeout = gint(std::min<std::int64_t>(wait, G_MAXINT));
        }
    }
    return false;
}

gboolean GLibRunLoopSource::prepare(GSource*, gint* timeout)
{
    *timeout = 0;
    return ready(timeout);
}

gboolean GLibRunLoopSource::check(GSource*)
{
    return ready(nullptr);
}

gboolean GLibRunLoopSource::dispatch(GSource* source, GSourceFunc, gpointer)
{
    RunLoop::main().runPending();
    const auto* owner = reinterpret_cast<Source*>(source)->owner;
    if (owner->afterPass_) {
        owner->afterPass_();
    }
    return G_SOURCE_CONTINUE;
}
