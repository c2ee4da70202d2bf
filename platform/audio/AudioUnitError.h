#pragma once

#include <stdexcept>
#include <string>

#include "AudioTypes.h"

inline constexpr OSStatus kAudioUnitErr_FailedInitialization = -10875;

// The error an audio unit throws when it cannot be made or prepared: a status
// code and a readable description.
class AudioUnitError : public std::runtime_error {
public:
    AudioUnitError(OSStatus code, const std::string& description);

    OSStatus code() const { return code_; }

private:
    OSStatus code_;
};
