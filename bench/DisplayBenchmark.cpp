// One pass of each thing the host's interface thread does ten times a second
// while a sound plays with the effect's panel shown: the flow panel drawn
// again (its highlighted keys changed), the waterfall moved by one row, and
// the 1024 x 768 window composed, whole and where a waterfall pass changed
// it. The host runs headless from the bench's bundle; before each waterfall
// pass another tenth of a second of a bundle sound goes through the effect
// (untimed), so that each row has magnitudes to paint.
//
//     build/bench/HostDisplayBench.app/DisplayBenchmark

#include "HostRig.h"

#include "OfflineAudioOutput.h"

#include <benchmark/benchmark.h>

#include <cairo.h>

namespace {

HostRig* playingHost = nullptr;
OfflineAudioOutput* playingOutput = nullptr;

HostRig& host()
{
    return *playingHost;
}

// A tenth of a second of the sound through the effect, rendered here and now.
void playATenth()
{
    for (int slice = 0; slice < 10; ++slice) {
        playingOutput->render(480);
        host().screen().audioUnitManager()->auEngine()->waitForPendingWork();
    }
}

void BM_PanelPass(benchmark::State& state)
{
    UIView& panel = host().flowPanel();
    for (auto _ : state) {
        panel.setNeedsDisplay();
        panel.displayIfNeeded();
    }
}
BENCHMARK(BM_PanelPass)->Unit(benchmark::kMillisecond);

void BM_WaterfallPass(benchmark::State& state)
{
    UIView& waterfall = host().waterfall();
    for (auto _ : state) {
        state.PauseTiming();
        playATenth();
        state.ResumeTiming();
        waterfall.setNeedsDisplay();
        waterfall.displayIfNeeded();
    }
}
BENCHMARK(BM_WaterfallPass)->Unit(benchmark::kMillisecond);

void BM_WindowComposition(benchmark::State& state)
{
    HostRig& rig = host();
    cairo_surface_t* surface = rig.makeWindowSurface();
    for (auto _ : state) {
        rig.compose(surface);
    }
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_WindowComposition)->Unit(benchmark::kMillisecond);

// What the shell composes again on its kept picture after a waterfall pass.
void BM_WindowCompositionAfterWaterfallPass(benchmark::State& state)
{
    HostRig& rig = host();
    cairo_surface_t* surface = rig.makeWindowSurface();
    rig.compose(surface, rig.change());
    double area = 0;
    for (auto _ : state) {
        state.PauseTiming();
        playATenth();
        rig.waterfall().setNeedsDisplay();
        rig.waterfall().displayIfNeeded();
        const CGRect change = rig.change();
        area += change.width() * change.height();
        state.ResumeTiming();
        rig.compose(surface, change);
    }
    state.counters["pixels"] = benchmark::Counter(area, benchmark::Counter::kAvgIterations);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_WindowCompositionAfterWaterfallPass)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    HostRig rig;
    const auto output = std::make_shared<OfflineAudioOutput>();
    if (!rig.play(output)) {
        return 1;
    }
    playingHost = &rig;
    playingOutput = output.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
