#pragma once

#include "AUParameterTypes.h"
#include "PropertyListValue.h"

#include <string>

class PresetGroup;
class ZUVPresetDelegate;

// One parameter of a preset: its address, identifier and value.
class PresetParam {
public:
    // The group record this one was read under; it owns this record. Left
    // null when the record is captured from a parameter tree.
    const PresetGroup* group = nullptr;
    AUParameterAddress address = 0;
    std::string identifier = "parameter";
    AUValue value = 0.0f;

    PropertyListValue::Dictionary toDictionary() const;
    // Reads the record and hands it to the delegate, if one is given. A record
    // holding an entry of the wrong type, or a value that is not a finite
    // float, is reported and skipped whole: nothing is handed on and the
    // result is false. Missing entries keep their initial values.
    bool fromDictionary(const PropertyListValue::Dictionary& dict, ZUVPresetDelegate* delegate);

private:
    bool readEntry(const std::string& key, const PropertyListValue& entry);
};
