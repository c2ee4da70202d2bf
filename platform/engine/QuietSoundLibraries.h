#pragma once

#include <cstdarg>

// The header declares its thread's handler outside its C linkage block.
extern "C" {
#include <alsa/error.h>
}

// While one lives, the sound libraries that PortAudio probes for devices
// (ALSA on the constructing thread, JACK in the whole process) keep their
// messages to themselves. Without a sound card or a sound server, opening the
// default device would otherwise print dozens of lines about every device
// that is not there; PortAudio's result already says whether one opened.
class QuietSoundLibraries {
public:
    QuietSoundLibraries();
    ~QuietSoundLibraries();
    QuietSoundLibraries(const QuietSoundLibraries&) = delete;
    QuietSoundLibraries& operator=(const QuietSoundLibraries&) = delete;

private:
    snd_local_error_handler_t previousAlsaHandler_;
};
