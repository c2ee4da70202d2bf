#pragma once

#include <cstdint>
#include <string>

#include "AudioTypes.h"

// Receives each parameter record read from a preset dictionary or file.
class ZUVPresetDelegate {
public:
    virtual ~ZUVPresetDelegate() = default;
    virtual void onFoundParameter(std::int64_t group, const std::string& identifier, std::uint64_t address,
                                  AUValue value)
        = 0;
};
