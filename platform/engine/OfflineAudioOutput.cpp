#include "OfflineAudioOutput.h"

#include "AVError.h"
#include "AudioEngineConstants.h"

OfflineAudioOutput::OfflineAudioOutput()
    : gate_(false)
{
}

void OfflineAudioOutput::start(Renderer renderer)
{
    if (startFailure_) {
        const std::string description = *startFailure_;
        startFailure_.reset();
        throw AVError(description);
    }
    gate_.close();
    renderer_ = std::move(renderer);
    gate_.open();
}

void OfflineAudioOutput::stop()
{
    gate_.close();
    renderer_ = nullptr;
}

void OfflineAudioOutput::failNextStart(std::string description) { startFailure_ = std::move(description); }

std::vector<std::vector<float>> OfflineAudioOutput::render(AUAudioFrameCount frames)
{
    std::vector<std::vector<float>> channels(kAudioEngineChannels, std::vector<float>(frames));
    AudioBufferList output;
    output.mNumberBuffers = kAudioEngineChannels;
    for (std::uint32_t channel = 0; channel < kAudioEngineChannels; ++channel)
        output.mBuffers[channel] = { 1, frames * static_cast<std::uint32_t>(sizeof(float)), channels[channel].data() };
    if (gate_.tryEnter()) {
        renderer_(frames, output);
        gate_.leave();
    }
    return channels;
}
