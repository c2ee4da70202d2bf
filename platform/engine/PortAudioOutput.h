#pragma once

#include <memory>

#include "AudioOutputDevice.h"

// The system's default output device through PortAudio, opened for float
// stereo at the engine's rate.
class PortAudioOutput : public AudioOutputDevice {
public:
    // Null when PortAudio finds no device that takes that format.
    static std::unique_ptr<PortAudioOutput> open();
    ~PortAudioOutput() override;

    void start(Renderer renderer) override;
    void stop() override;

private:
    PortAudioOutput() = default;

    static int callback(const void* input, void* output, unsigned long frames, const void* timeInfo,
                        unsigned long statusFlags, void* self);

    void* stream_ = nullptr;
    Renderer renderer_;
};
