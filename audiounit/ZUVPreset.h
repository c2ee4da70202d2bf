#pragma once

#include "PresetPatch.h"
#include "PropertyListValue.h"
#include "URL.h"

#include <optional>

class AUParameterGroup;
class ZUVPresetDelegate;

// A preset of the audio unit, made from its parameter tree or read from a
// preset dictionary or file. Reading hands every parameter found to the
// delegate passed for that read, which is not kept; without one, a read only
// fills the patch.
class ZUVPreset {
public:
    PresetPatch& patch() { return patch_; }
    const PresetPatch& patch() const { return patch_; }

    // Appends a record for every group below tree, depth first, each holding
    // all the parameters below its group with their current values.
    void makeFrom(const AUParameterGroup* tree);
    // Reads state into the patch; with none, nothing happens.
    void makeFrom(const std::optional<PropertyListValue::Dictionary>& state, ZUVPresetDelegate* delegate);
    PropertyListValue::Dictionary getDictionary() const;
    void save(const URL& url) const;
    // False when the file could not be read as a preset dictionary; the patch
    // is then unchanged and nothing was applied.
    bool load(const URL& url, ZUVPresetDelegate* delegate);

private:
    void appendGroups(const AUParameterGroup& tree);

    PresetPatch patch_;
};
