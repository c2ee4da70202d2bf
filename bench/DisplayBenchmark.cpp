// One pass of each thing the host's interface thread does ten times a second
// while a sound plays with the effect's panel shown: the flow panel drawn
// again (its highlighted keys changed), the waterfall moved by one row, and
// the 1024 x 768 window composed. The host runs headless from the bench's
// bundle, and a second of a bundle sound has gone through the effect, so
// the waterfall's rows have magnitudes to paint.
//
//     build/bench/HostDisplayBench.app/DisplayBenchmark

#include "HostRig.h"

#include "OfflineAudioOutput.h"

#include <benchmark/benchmark.h>

#include <cairo.h>

namespace {

HostRig* playedHost = nullptr;

HostRig& host()
{
    return *playedHost;
}

// A second of a bundle sound through the effect, rendered here and now.
void playASecond(HostRig& rig)
{
    const auto output = std::make_shared<OfflineAudioOutput>();
    if (!rig.play(output)) {
        throw std::runtime_error("the sound did not start");
    }
    for (int slice = 0; slice < 100; ++slice) {
        output->render(480);
        rig.screen().audioUnitManager()->auEngine()->waitForPendingWork();
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

} // namespace

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    HostRig rig;
    playASecond(rig);
    playedHost = &rig;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
