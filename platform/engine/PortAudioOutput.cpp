#include "PortAudioOutput.h"

#include <portaudio.h>

#include "AVError.h"
#include "AudioEngineConstants.h"

std::unique_ptr<PortAudioOutput> PortAudioOutput::open()
{
    if (Pa_Initialize() != paNoError)
        return nullptr;
    std::unique_ptr<PortAudioOutput> device(new PortAudioOutput);
    const PaError status = Pa_OpenDefaultStream(
        &device->stream_, 0, kAudioEngineChannels, paFloat32 | paNonInterleaved, kAudioEngineSampleRate,
        kAudioEngineFramesPerSlice,
        [](const void* input, void* output, unsigned long frames, const PaStreamCallbackTimeInfo* timeInfo,
           PaStreamCallbackFlags statusFlags, void* self) {
            return callback(input, output, frames, timeInfo, statusFlags, self);
        },
        device.get());
    if (status != paNoError) {
        device->stream_ = nullptr;
        return nullptr;
    }
    return device;
}

PortAudioOutput::~PortAudioOutput()
{
    if (stream_ != nullptr) {
        Pa_StopStream(stream_);
        Pa_CloseStream(stream_);
    }
    Pa_Terminate();
}

void PortAudioOutput::start(Renderer renderer)
{
    stop();
    renderer_ = std::move(renderer);
    const PaError status = Pa_StartStream(stream_);
    if (status != paNoError)
        throw AVError(std::string("The audio output device could not start: ") + Pa_GetErrorText(status));
}

void PortAudioOutput::stop()
{
    if (Pa_IsStreamActive(stream_) == 1)
        Pa_StopStream(stream_);
}

int PortAudioOutput::callback(const void*, void* output, unsigned long frames, const void*, unsigned long, void* self)
{
    auto* channels = static_cast<float**>(output);
    AudioBufferList list;
    list.mNumberBuffers = kAudioEngineChannels;
    for (std::uint32_t channel = 0; channel < kAudioEngineChannels; ++channel)
        list.mBuffers[channel] = { 1, static_cast<std::uint32_t>(frames * sizeof(float)), channels[channel] };
    static_cast<PortAudioOutput*>(self)->renderer_(static_cast<AUAudioFrameCount>(frames), list);
    return paContinue;
}
