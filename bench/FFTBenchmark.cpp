// One 4096-point transform and one chromatic analysis frame, the two costs
// that dominate the spectral engine. Report medians with
//   build/bench/FFTBenchmark --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "Analyzer.h"
#include "FFTPlan.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<float> noise(std::size_t count) {
    std::mt19937 generator(1);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> values(count);
    for (float& v : values) {
        v = dist(generator);
    }
    return values;
}

void BM_FFT4096(benchmark::State& state) {
    VELMORA::FFTPlan plan;
    plan.prepare(4096);
    const std::vector<float> source = noise(2 * 4096);
    std::vector<float> buffer = source;
    for (auto _ : state) {
        // Fresh input each time, so that values stay in range; not timed.
        state.PauseTiming();
        buffer = source;
        state.ResumeTiming();
        plan.transform(-1, buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FFT4096);

// The kernel's analyser: 4096 points, overlap 2, chromatic walk and note sums.
void BM_AnalysisFrame(benchmark::State& state) {
    VELMORA::Analyzer analyzer(4096, 2, 48000.0f);
    analyzer.setChromatic(true);
    std::vector<float> signal = noise(4096);
    analyzer.process(signal.data(), 4096);
    for (auto _ : state) {
        analyzer.onBufferReady();
        benchmark::DoNotOptimize(analyzer.getMagnitudes());
    }
}
BENCHMARK(BM_AnalysisFrame);

} // namespace
