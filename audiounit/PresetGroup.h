#pragma once

#include "PresetParam.h"
#include "PropertyListValue.h"

#include <cstdint>
#include <string>
#include <vector>

class ZUVPresetDelegate;

// One group of a preset's parameters. Its records point back at it, so it
// is neither copied nor moved.
class PresetGroup {
public:
    PresetGroup() = default;
    PresetGroup(const PresetGroup&) = delete;
    PresetGroup& operator=(const PresetGroup&) = delete;

    // The number the identifier ends in, set when the identifier is read.
    std::int64_t id = 0;
    std::string identifier = "group";
    std::vector<PresetParam> params;

    PropertyListValue::Dictionary toDictionary() const;
    // Replaces the records with those of dict, handing each parameter to the
    // delegate (if any) as soon as it has been read.
    void fromDictionary(const PropertyListValue::Dictionary& dict, ZUVPresetDelegate* delegate);
    // Sets id from the last blank-separated piece of the identifier when that
    // piece is a signed decimal number within 64 bits, else to 0.
    void findGroupNumber();
};
