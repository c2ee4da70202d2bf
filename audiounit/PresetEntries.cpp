#include "PresetEntries.h"

#include "Console.h"

void warnSkippedPresetEntry(std::string_view record, std::string_view key, std::string_view reason)
{
    std::string line(record);
    line.append("::WARNING: The entry '").append(key).append("' ").append(reason);
    Console::print(line);
}

const PropertyListValue::Dictionary* nestedPresetRecord(std::string_view record, const std::string& key,
    const PropertyListValue& entry)
{
    const auto* nested = entry.get<PropertyListValue::Dictionary>();
    if (!nested) {
        warnSkippedPresetEntry(record, key, "is not a dictionary and is skipped.");
    }
    return nested;
}
