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
#include "VelmoraFlowView.h"

#include <benchmark/benchmark.h>

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

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

// Keys the display timer could light, at most three: each pass shows the
// other set, so each pass has a change of keys to draw.
const std::array<std::vector<std::int64_t>, 2> kLitKeys{{{57, 64, 69}, {60, 67, 72}}};

// The effect's flow view; none when the panel holds another view there. The
// plug-in keeps its own hidden copy of the class, which the cast matches by
// name.
VelmoraFlowView* flowView()
{
    return dynamic_cast<VelmoraFlowView*>(&host().flowPanel());
}

// The keys change as the display timer changes them, untimed; the pass they
// ask for is timed.
void BM_PanelPass(benchmark::State& state)
{
    VelmoraFlowView& panel = *flowView();
    std::size_t pass = 0;
    for (auto _ : state) {
        state.PauseTiming();
        panel.setKeys(kLitKeys[pass++ % kLitKeys.size()]);
        state.ResumeTiming();
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
    if (!flowView()) {
        std::fprintf(stderr, "The effect's panel holds no flow view.\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
