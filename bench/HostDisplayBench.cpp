// Runs the host application headless as a person runs it: the effect loaded
// from the bundle, its panel shown with the unit button, a bundle sound
// playing into an output that plays nowhere at real-time pace, and after each
// pass of the main run loop the display cycle the application shell runs (lay
// out, draw what asked for it, compose the area of the window whose look
// changed). Prints the CPU time of the interface thread and of the audio
// thread, their ratio, and how long each pass of the panel, of the waterfall
// and of the window's composition took.
//
//     build/bench/HostDisplayBench.app/HostDisplayBench [seconds]   (default 10)

#include "HostRig.h"

#include "NullAudioOutput.h"

#include <cairo.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double secondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// Plays nowhere at real-time pace, as the application does without a sound
// device, and knows the CPU clock of the thread it renders on.
class PacedOutput : public NullAudioOutput {
public:
    void start(Renderer renderer) override
    {
        NullAudioOutput::start([this, renderer](AUAudioFrameCount frames, AudioBufferList& output) {
            if (!known_.load(std::memory_order_acquire)) {
                pthread_getcpuclockid(pthread_self(), &clock_);
                known_.store(true, std::memory_order_release);
            }
            renderer(frames, output);
        });
    }
    // CPU seconds of the render thread so far; 0 before its first call.
    double cpuSeconds() const { return known_.load(std::memory_order_acquire) ? ::cpuSeconds(clock_) : 0; }

private:
    std::atomic<bool> known_ = false;
    clockid_t clock_{};
};

// Milliseconds each timed pass took.
struct PassTimes {
    std::vector<double> milliseconds;

    template <class Work> void time(Work&& work)
    {
        const auto start = SteadyClock::now();
        work();
        milliseconds.push_back(secondsSince(start) * 1e3);
    }

    void print(const char* name, std::size_t cycles) const
    {
        if (milliseconds.empty()) {
            std::printf("%-12s no pass\n", name);
            return;
        }
        std::vector<double> sorted = milliseconds;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (const double value : sorted) {
            sum += value;
        }
        std::printf("%-12s %5zu passes (%3.0f%% of display cycles), mean %6.2f ms, median %6.2f ms, max %6.2f ms\n",
                    name, sorted.size(), 100.0 * double(sorted.size()) / double(std::max<std::size_t>(cycles, 1)),
                    sum / double(sorted.size()), sorted[sorted.size() / 2], sorted.back());
    }
};

bool isShown(const UIView& view)
{
    for (const UIView* current = &view; current != nullptr; current = current->superview().get()) {
        if (current->isHidden()) {
            return false;
        }
    }
    return true;
}

// The shell's cycle after a run-loop pass, on a window surface of its own.
class DisplayCycle {
public:
    explicit DisplayCycle(HostRig& host) : host_(host), surface_(host.makeWindowSurface()) {}
    ~DisplayCycle() { cairo_surface_destroy(surface_); }
    DisplayCycle(const DisplayCycle&) = delete;
    DisplayCycle& operator=(const DisplayCycle&) = delete;

    void run()
    {
        UIWindow& window = host_.window();
        window.layoutIfNeeded();
        // Each drawing moves or draws only its own picture, so the order of
        // these passes changes nothing.
        for (auto [view, times] : {std::pair{&host_.waterfall(), &waterfallTimes}, {&host_.flowPanel(), &panelTimes}}) {
            if (view->needsDisplay() && isShown(*view)) {
                times->time([&] { view->displayIfNeeded(); });
            }
        }
        window.displayIfNeeded();
        const CGRect change = host_.change();
        if (change.width() > 0) {
            ++cycles;
            compositionTimes.time([&] { host_.compose(surface_, change); });
        }
    }

    PassTimes waterfallTimes;
    PassTimes panelTimes;
    PassTimes compositionTimes;
    std::size_t cycles = 0;

private:
    HostRig& host_;
    cairo_surface_t* surface_;
};

} // namespace

int main(int argc, char* argv[])
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10;
    if (!(seconds > 0)) {
        std::fprintf(stderr, "HostDisplayBench: the duration must be a positive number of seconds\n");
        return 2;
    }
    HostRig host;
    DisplayCycle settling(host);
    const auto output = std::make_shared<PacedOutput>();
    if (!host.play(output, [&] { settling.run(); })) {
        std::fprintf(stderr, "HostDisplayBench: the sound did not start\n");
        return 1;
    }
    // A second to settle: the effect's analysis window fills, and so does
    // the waterfall's picture.
    const auto settle = SteadyClock::now();
    HostRig::pumpUntil([&] {
        settling.run();
        return secondsSince(settle) >= 1;
    });

    DisplayCycle cycle(host);
    const auto start = SteadyClock::now();
    const double interfaceStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double audioStart = output->cpuSeconds();
    HostRig::pumpUntil([&] {
        cycle.run();
        return secondsSince(start) >= seconds;
    });
    const double wall = secondsSince(start);
    const double interface = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - interfaceStart;
    const double audio = output->cpuSeconds() - audioStart;

    std::printf("%.1f s playing with the panel shown\n", wall);
    std::printf("interface thread %8.3f s CPU, %5.1f%% of a core\n", interface, 100 * interface / wall);
    std::printf("audio thread     %8.3f s CPU, %5.1f%% of a core\n", audio, 100 * audio / wall);
    std::printf("ratio interface/audio %.2f\n", audio > 0 ? interface / audio : 0.0);
    cycle.waterfallTimes.print("waterfall", cycle.cycles);
    cycle.panelTimes.print("panel", cycle.cycles);
    cycle.compositionTimes.print("composition", cycle.cycles);
    return audio > 0 ? 0 : 1;
}
