#pragma once

#include <cstdint>
#include <string>

// A preset as a host sees it: a number (negative for user presets) and a name.
class AUAudioUnitPreset {
public:
    AUAudioUnitPreset(std::int64_t number, std::string name);

    std::int64_t number() const { return number_; }
    const std::string& name() const { return name_; }

    bool operator==(const AUAudioUnitPreset&) const = default;

private:
    std::int64_t number_;
    std::string name_;
};
