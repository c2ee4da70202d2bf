#pragma once

#include <memory>

#include "AudioOutputDevice.h"
#include "PortAudioLibrary.h"

// The system's default output device through PortAudio, opened for float
// stereo at the engine's rate.
class PortAudioOutput : public AudioOutputDevice {
public:
    // Null when PortAudio finds no device that takes that format. The sound
    // libraries it looks through print nothing meanwhile.
    static std::unique_ptr<PortAudioOutput> open(
        std::shared_ptr<PortAudioLibrary> library = std::make_shared<PortAudioLibrary>());
    ~PortAudioOutput() override;

    void start(Renderer renderer) override;
    // Ends the stream at once. What the device still holds queued is not
    // played out: nothing is left to hear once the engine stops, and waiting
    // for it would hold the caller for as long as the device buffers.
    void stop() override;

private:
    explicit PortAudioOutput(std::shared_ptr<PortAudioLibrary> library);

    static int callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags statusFlags, void* self);

    std::shared_ptr<PortAudioLibrary> library_;
    PaStream* stream_ = nullptr;
    Renderer renderer_;
};
