// Renders 10 s of a stereo test signal through the kernel adapter at 48 kHz in
// fixed-size calls, for each operation mode in each processing mode, with the
// parameters at the tree's working defaults. Reports the real-time factor (audio
// seconds per CPU second on one core) and the slowest single call, both in CPU
// time of the rendering thread (so that preemption on a busy machine does not
// count) and in wall time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

namespace {

using Adapter = ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter;

constexpr double kRate = 48000.0;
constexpr std::size_t kFrames = 10 * 48000;

struct TestSignal {
    std::vector<float> left;
    std::vector<float> right;
};

const TestSignal& testSignal()
{
    static const TestSignal signal = [] {
        TestSignal s{std::vector<float>(kFrames), std::vector<float>(kFrames)};
        std::mt19937 random(1);
        std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
        for (std::size_t t = 0; t < kFrames; ++t) {
            const double time = static_cast<double>(t) / kRate;
            s.left[t] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 220.0 * time) +
                                           0.2 * std::sin(2.0 * M_PI * 659.25 * time)) + noise(random);
            s.right[t] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 329.63 * time) +
                                            0.2 * std::sin(2.0 * M_PI * 1234.0 * time)) + noise(random);
        }
        return s;
    }();
    return signal;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void pushWorkingDefaults(Adapter& adapter, float operationMode, float processingMode)
{
    const std::pair<std::int32_t, float> globals[] = {{100, 0.0f}, {101, 0.5f}, {102, 0.5f}, {103, 0.0f},
                                                      {104, 0.0f}, {105, 0.0f}, {106, 127.0f}, {107, 1.0f}};
    for (const auto& [address, value] : globals)
        adapter.setParameterEx(address, value);
    for (std::int32_t block = 1000; block <= 5000; block += 1000) {
        for (std::int32_t note = 0; note < 128; ++note)
            adapter.setParameterEx(block + note, 0.5f);
    }
    adapter.setParameterEx(104, operationMode);
    adapter.setParameterEx(103, processingMode);
}

void BM_KernelRender(benchmark::State& state)
{
    const auto operationMode = static_cast<float>(state.range(0));
    const auto processingMode = static_cast<float>(state.range(1));
    const auto block = static_cast<AUAudioFrameCount>(state.range(2));
    const TestSignal& signal = testSignal();

    auto adapter = std::make_unique<Adapter>();
    pushWorkingDefaults(*adapter, operationMode, processingMode);
    adapter->allocateRenderResources();

    std::size_t cursor = 0;
    const AURenderPullInputBlock pull = [&](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                            AUAudioFrameCount frames, std::int64_t, AudioBufferList* list) {
        std::copy_n(signal.left.data() + cursor, frames, static_cast<float*>(list->mBuffers[0].mData));
        std::copy_n(signal.right.data() + cursor, frames, static_cast<float*>(list->mBuffers[1].mData));
        return noErr;
    };
    std::vector<float> left(block);
    std::vector<float> right(block);

    double cpuSeconds = 0.0;
    double slowestCall = 0.0;
    double slowestCallCpu = 0.0;
    double audioSeconds = 0.0;
    for (auto _ : state) {
        adapter->reset();
        const double cpuStart = threadCpuSeconds();
        for (cursor = 0; cursor + block <= kFrames; cursor += block) {
            AudioBufferList out;
            out.mNumberBuffers = 2;
            out.mBuffers[0] = {1, block * 4, left.data()};
            out.mBuffers[1] = {1, block * 4, right.data()};
            AudioTimeStamp stamp;
            stamp.mSampleTime = static_cast<double>(cursor);
            const double callCpuStart = threadCpuSeconds();
            const auto callStart = std::chrono::steady_clock::now();
            adapter->render(nullptr, &stamp, block, 0, &out, nullptr, pull);
            const std::chrono::duration<double> call = std::chrono::steady_clock::now() - callStart;
            slowestCall = std::max(slowestCall, call.count());
            slowestCallCpu = std::max(slowestCallCpu, threadCpuSeconds() - callCpuStart);
        }
        cpuSeconds += threadCpuSeconds() - cpuStart;
        audioSeconds += static_cast<double>(cursor) / kRate;
        benchmark::DoNotOptimize(left.data());
    }
    state.counters["realtime_x"] = audioSeconds / cpuSeconds;
    state.counters["slowest_call_cpu_us"] = slowestCallCpu * 1e6;
    state.counters["slowest_call_wall_us"] = slowestCall * 1e6;
}

} // namespace

BENCHMARK(BM_KernelRender)
    ->ArgNames({"operation", "processing", "frames"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2, 3, 4}, {128, 512}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
