#pragma once

#include "PresetGroup.h"
#include "PropertyListValue.h"
#include "URL.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ZUVPresetDelegate;

// A whole preset: the component it belongs to, its number and name, and its
// groups of parameters. It is the preset dictionary's and the preset file's
// content.
class PresetPatch {
public:
    std::int64_t version = 1;
    std::uint32_t type;
    std::int64_t manufacturer;
    std::int64_t subtype;
    std::int64_t number = 0;
    std::string name = "ZUV VELMORA Quillmere Preset";
    std::vector<std::unique_ptr<PresetGroup>> groups;

    PresetPatch();

    PropertyListValue::Dictionary toDictionary() const;
    // Replaces the groups with those of dict, handing each parameter to the
    // delegate (if any) as soon as it has been read. Entries of the wrong type
    // are reported and skipped; the rest is read.
    void fromDictionary(const PropertyListValue::Dictionary& dict, ZUVPresetDelegate* delegate);
    // Writes the dictionary as an XML property list, all or nothing.
    void saveToFile(const URL& url) const;
    // Reads the file's dictionary as fromDictionary does. A file that is
    // missing, unreadable, not a property list or not a dictionary is reported,
    // leaves the patch as it was, applies nothing and gives false.
    bool loadFromFile(const URL& url, ZUVPresetDelegate* delegate);

private:
    void readEntry(const std::string& key, const PropertyListValue& entry, ZUVPresetDelegate* delegate);
    // Sets the header field named by key; false when the entry has the wrong type.
    bool readField(const std::string& key, const PropertyListValue& entry);
    // The integer header field named by key, or null.
    std::int64_t* integerField(const std::string& key);
};
