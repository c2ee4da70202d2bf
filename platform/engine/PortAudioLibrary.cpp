#include "PortAudioLibrary.h"

PaError PortAudioLibrary::initialize() { return Pa_Initialize(); }

PaError PortAudioLibrary::terminate() { return Pa_Terminate(); }

PaError PortAudioLibrary::openDefaultStream(PaStream** stream, int inputChannels, int outputChannels,
                                            PaSampleFormat sampleFormat, double sampleRate,
                                            unsigned long framesPerBuffer, PaStreamCallback* callback, void* userData)
{
    return Pa_OpenDefaultStream(stream, inputChannels, outputChannels, sampleFormat, sampleRate, framesPerBuffer,
                                callback, userData);
}

PaError PortAudioLibrary::startStream(PaStream* stream) { return Pa_StartStream(stream); }

PaError PortAudioLibrary::abortStream(PaStream* stream) { return Pa_AbortStream(stream); }

PaError PortAudioLibrary::isStreamActive(PaStream* stream) { return Pa_IsStreamActive(stream); }

PaError PortAudioLibrary::closeStream(PaStream* stream) { return Pa_CloseStream(stream); }
