#include "AudioUnitError.h"

AudioUnitError::AudioUnitError(OSStatus code, const std::string& description)
    : std::runtime_error(description)
    , code_(code)
{
}
