#pragma once

#include "AUParameterTypes.h"

#include <cstdint>
#include <string>

class AUParameter;

// The description of a parameter that the view controller prints when it
// connects to the audio unit's tree. Every line starts with one tab per level.
class ParameterDiagnostics {
public:
    // Address, display name, value, options with the name of each option
    // set, range, unit, unit name and value strings, after an empty line.
    static void printParameter(const AUParameter& parameter, std::int64_t level);
    // A heading, then one line per option whose bits are all set in `flags`.
    static void verboseFlags(AudioUnitParameterOptions flags, std::int64_t level);
    // The unit's name; "unknown parameter kind" for a number outside the units.
    static std::string verboseParameterKind(std::uint32_t kind);
};
