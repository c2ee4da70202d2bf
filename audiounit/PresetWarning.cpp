#include "PresetWarning.h"

#include "Console.h"

#include <string>

void warnSkippedPresetEntry(std::string_view record, std::string_view key, std::string_view reason)
{
    std::string line(record);
    line.append("::WARNING: The entry '").append(key).append("' ").append(reason);
    Console::print(line);
}
