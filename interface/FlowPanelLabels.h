#pragma once

#include <cstdint>
#include <string>

// The texts the flow panel shows for each mode value; a value the panel has
// no text for gives the empty text, so a stray mode never shows a wrong name.
std::string processingModeCaption(std::int64_t processingMode);
std::string operationModeCaption(std::int64_t operationMode);
std::string speedOptionLabel(std::int64_t speedMode);
std::string operationOptionLabel(std::int64_t operationMode);
