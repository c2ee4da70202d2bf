#pragma once

#include <cstdint>

// How a host asks for a component to be loaded; a set of option bits.
struct AudioComponentInstantiationOptions {
    static constexpr std::uint32_t loadOutOfProcess = 1u << 0;
    static constexpr std::uint32_t loadInProcess = 1u << 1;

    std::uint32_t rawValue = 0;

    bool operator==(const AudioComponentInstantiationOptions&) const = default;
};
