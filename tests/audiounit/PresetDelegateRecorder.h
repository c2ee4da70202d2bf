#pragma once

#include "ZUVPresetDelegate.h"

#include <bit>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

// A preset delegate that keeps every call, the value as its bit pattern so
// that comparisons are exact.
class PresetDelegateRecorder : public ZUVPresetDelegate {
public:
    using Call = std::tuple<std::int64_t, std::string, std::uint64_t, std::uint32_t>;

    static Call call(std::int64_t group, std::string identifier, std::uint64_t address, float value)
    {
        return { group, std::move(identifier), address, std::bit_cast<std::uint32_t>(value) };
    }

    void onFoundParameter(std::int64_t group, const std::string& identifier, std::uint64_t address,
                          AUValue value) override
    {
        calls.push_back(call(group, identifier, address, value));
    }

    std::vector<Call> calls;
};
