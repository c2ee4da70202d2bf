#pragma once

#include <functional>

#include "AudioBufferList.h"
#include "AudioTypes.h"

// Where an engine's output goes. While started, the device calls its renderer
// for every stretch of frames it needs, on its render thread, with one buffer
// per channel (kAudioEngineChannels at kAudioEngineSampleRate).
class AudioOutputDevice {
public:
    using Renderer = std::function<void(AUAudioFrameCount frames, AudioBufferList& output)>;

    virtual ~AudioOutputDevice() = default;

    // Throws AVError when the device cannot start.
    virtual void start(Renderer renderer) = 0;
    // Once it returns, the renderer is not running and is not called again.
    virtual void stop() = 0;
};
