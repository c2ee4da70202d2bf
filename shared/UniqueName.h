#pragma once

#include <optional>
#include <string>

// A text unique to this call: the process's globally unique text, after
// `prefix` and "-" when a prefix is given.
std::string uniqueName(const std::optional<std::string>& prefix);
