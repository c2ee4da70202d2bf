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
    // Returns once the device has played out every buffer it holds queued,
    // which on a sound server takes well over a second.
    virtual PaError stopStream(PaStream* stream);
    // Returns at once: what the device holds queued is dropped.
    virtual PaError abortStream(PaStream* stream);
    // 1 while the stream runs, 0 when it is stopped, or an error.
    virtual PaError isStreamActive(PaStream* stream);
    virtual PaError closeStream(PaStream* stream);
};
