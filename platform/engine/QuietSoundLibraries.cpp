#include "QuietSoundLibraries.h"

#include <jack/jack.h>

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, va_list) { }

void ignoreJackMessage(const char*) { }

} // namespace

QuietSoundLibraries::QuietSoundLibraries()
    : previousAlsaHandler_(snd_lib_error_set_local(ignoreAlsaMessage))
{
    jack_set_error_function(ignoreJackMessage);
    jack_set_info_function(ignoreJackMessage);
}

// JACK keeps no handler of ours outside the probing: null gives it back its
// own, which prints.
QuietSoundLibraries::~QuietSoundLibraries()
{
    jack_set_info_function(nullptr);
    jack_set_error_function(nullptr);
    snd_lib_error_set_local(previousAlsaHandler_);
}
