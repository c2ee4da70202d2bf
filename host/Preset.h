#pragma once

#include "AUAudioUnitPreset.h"

#include <cstdint>
#include <string>

// A preset of the effect as the locator offers it.
class Preset {
public:
    std::int64_t number() const { return preset_.number(); }
    const std::string& name() const { return preset_.name(); }

private:
    friend class AUExtensionManager;
    explicit Preset(AUAudioUnitPreset preset) : preset_(std::move(preset)) {}

    AUAudioUnitPreset preset_;
};
