#pragma once

#include "PropertyListValue.h"

#include <string>
#include <string_view>

// Reports an entry of a preset dictionary that is not read, as
// "<record>::WARNING: The entry '<key>' <reason>".
void warnSkippedPresetEntry(std::string_view record, std::string_view key, std::string_view reason);

// The nested record an entry holds, or null (reported) when it holds none.
const PropertyListValue::Dictionary* nestedPresetRecord(std::string_view record, const std::string& key,
    const PropertyListValue& entry);
