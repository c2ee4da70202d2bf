#pragma once

#include <portaudio.h>

// The PortAudio functions an output device calls, each forwarding to
// PortAudio itself. Tests derive a stand-in library whose stream plays
// nowhere, to see which of them the device calls.
class PortAudioLibrary {
public:
    virtual ~PortAudioLibrary() = default;

    virtual PaError initialize();
    virtual PaError terminate();
    virtual PaError openDefaultStream(PaStream** stream, int inputChannels, int outputChannels,
                                      PaSampleFormat sampleFormat, double sampleRate, unsigned long framesPerBuffer,
                                      PaStreamCallback* callback, void* userData);
    virtual PaError startStream(PaStream* stream);
    // Returns at once: what the device holds queued is dropped. (Stopping by
    // draining instead waits until the device has played all of it, which on a
    // sound server takes well over a second, so it is not offered.)
    virtual PaError abortStream(PaStream* stream);
    // 1 while the stream runs, 0 when it is stopped, or an error.
    virtual PaError isStreamActive(PaStream* stream);
    virtual PaError closeStream(PaStream* stream);
};
