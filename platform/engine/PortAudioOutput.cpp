#include "PortAudioOutput.h"

#include "AVError.h"
#include "AudioEngineConstants.h"
#include "QuietSoundLibraries.h"

std::unique_ptr<PortAudioOutput> PortAudioOutput::open(std::shared_ptr<PortAudioLibrary> library)
{
    const QuietSoundLibraries quiet;
    if (library->initialize() != paNoError)
        return nullptr;
    std::unique_ptr<PortAudioOutput> device(new PortAudioOutput(std::move(library)));
    const PaError status = device->library_->openDefaultStream(
        &device->stream_, 0, kAudioEngineChannels, paFloat32 | paNonInterleaved, kAudioEngineSampleRate,
        kAudioEngineFramesPerSlice, callback, device.get());
    if (status != paNoError) {
        device->stream_ = nullptr;
        return nullptr;
    }
    return device;
}

PortAudioOutput::PortAudioOutput(std::shared_ptr<PortAudioLibrary> library)
    : library_(std::move(library))
{
}

PortAudioOutput::~PortAudioOutput()
{
    if (stream_ != nullptr) {
        stop();
        library_->closeStream(stream_);
    }
    library_->terminate();
}

void PortAudioOutput::start(Renderer renderer)
{
    stop();
    renderer_ = std::move(renderer);
    const PaError status = library_->startStream(stream_);
    if (status != paNoError)
        throw AVError(std::string("The audio output device could not start: ") + Pa_GetErrorText(status));
}

void PortAudioOutput::stop()
{
    if (library_->isStreamActive(stream_) == 1)
        library_->abortStream(stream_);
}

int PortAudioOutput::callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                              PaStreamCallbackFlags, void* self)
{
    auto* channels = static_cast<float**>(output);
    AudioBufferList list;
    list.mNumberBuffers = kAudioEngineChannels;
    for (std::uint32_t channel = 0; channel < kAudioEngineChannels; ++channel)
        list.mBuffers[channel] = { 1, static_cast<std::uint32_t>(frames * sizeof(float)), channels[channel] };
    static_cast<PortAudioOutput*>(self)->renderer_(static_cast<AUAudioFrameCount>(frames), list);
    return paContinue;
}
