#pragma once

#include <optional>
#include <string>
#include <vector>

#include "AudioOutputDevice.h"
#include "RenderGate.h"

// A device for tests: it renders only when asked, on the asking thread (one
// thread at a time), so a test decides how much is rendered and when. It can
// be told to fail its next start.
class OfflineAudioOutput : public AudioOutputDevice {
public:
    OfflineAudioOutput();

    void start(Renderer renderer) override;
    void stop() override;

    // The next start throws an AVError with this description.
    void failNextStart(std::string description);

    // Renders `frames` frames: one vector per channel; silence while stopped.
    std::vector<std::vector<float>> render(AUAudioFrameCount frames);

private:
    RenderGate gate_;
    Renderer renderer_;
    std::optional<std::string> startFailure_;
};
