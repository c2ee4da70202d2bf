#pragma once

#include <string_view>

// Reports an entry of a preset dictionary that is not read, as
// "<record>::WARNING: The entry '<key>' <reason>".
void warnSkippedPresetEntry(std::string_view record, std::string_view key, std::string_view reason);
