#include "NullAudioOutput.h"

#include <chrono>
#include <vector>

#include "AudioEngineConstants.h"

NullAudioOutput::~NullAudioOutput() { stop(); }

void NullAudioOutput::start(Renderer renderer)
{
    stop();
    running_.store(true);
    thread_ = std::thread([this, renderer = std::move(renderer)] { run(renderer); });
}

void NullAudioOutput::stop()
{
    running_.store(false);
    if (thread_.joinable())
        thread_.join();
}

void NullAudioOutput::run(const Renderer& renderer)
{
    constexpr AUAudioFrameCount frames = kAudioEngineFramesPerSlice;
    const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(frames / kAudioEngineSampleRate));
    std::vector<float> samples(static_cast<std::size_t>(frames) * kAudioEngineChannels);
    AudioBufferList output;
    output.mNumberBuffers = kAudioEngineChannels;
    for (std::uint32_t channel = 0; channel < kAudioEngineChannels; ++channel)
        output.mBuffers[channel] = { 1, frames * static_cast<std::uint32_t>(sizeof(float)),
                                     samples.data() + channel * frames };
    auto due = std::chrono::steady_clock::now();
    while (running_.load()) {
        renderer(frames, output);
        due += period;
        std::this_thread::sleep_until(due);
    }
}
