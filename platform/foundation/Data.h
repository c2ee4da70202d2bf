#pragma once

#include <cstdint>
#include <vector>

// A byte buffer, as files, URLs and property lists hand it around.
using Data = std::vector<std::uint8_t>;
