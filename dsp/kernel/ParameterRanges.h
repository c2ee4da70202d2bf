#pragma once

#include <array>
#include <optional>

#include "AudioTypes.h"
#include "ParameterAddress.h"

// The range the parameter tree publishes for each address of the kernel's
// scheme, so that values arriving in render events can be held to it. Filled
// before rendering starts, then only read.
class ParameterRanges {
public:
    void set(AUParameterAddress address, AUValue minValue, AUValue maxValue);
    // The value held to the address's range. Before any range is set every
    // value passes; after that an address without a range gives none. A value
    // that is not finite passes as it is.
    std::optional<AUValue> held(AUParameterAddress address, AUValue value) const;

private:
    static constexpr std::size_t kGlobals = 12;
    static constexpr std::size_t kBandsPerMode = 128;
    static constexpr std::size_t kModes = 5;

    struct Range {
        AUValue minValue = 0.0f;
        AUValue maxValue = 0.0f;
        bool known = false;
    };

    // Where the address's range is kept; none for an address outside the scheme.
    static std::optional<std::size_t> slot(AUParameterAddress address);

    std::array<Range, kGlobals + kModes * kBandsPerMode> ranges_ {};
    bool limited_ = false;
};
