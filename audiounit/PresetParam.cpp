#include "PresetParam.h"

#include "PresetGroup.h"
#include "PresetEntries.h"
#include "ZUVPresetDelegate.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr std::string_view kWrongType = "has the wrong type; the parameter record is skipped.";

// Only values a float holds finitely are taken; converting anything larger
// would not even be defined.
std::optional<AUValue> finiteFloat(const std::optional<double>& number)
{
    if (!number || !std::isfinite(*number) || std::fabs(*number) > std::numeric_limits<AUValue>::max()) {
        return std::nullopt;
    }
    return static_cast<AUValue>(*number);
}

} // namespace

PropertyListValue::Dictionary PresetParam::toDictionary() const
{
    return {
        { "address", address },
        { "identifier", identifier },
        { "value", value },
    };
}

bool PresetParam::fromDictionary(const PropertyListValue::Dictionary& dict, ZUVPresetDelegate* delegate)
{
    for (const auto& [key, entry] : dict) {
        if (!readEntry(key, entry)) {
            return false;
        }
    }
    if (delegate) {
        delegate->onFoundParameter(group ? group->id : 0, identifier, address, value);
    }
    return true;
}

bool PresetParam::readEntry(const std::string& key, const PropertyListValue& entry)
{
    if (key == "identifier") {
        const auto* text = entry.get<std::string>();
        if (!text) {
            warnSkippedPresetEntry("PresetParam", key, kWrongType);
            return false;
        }
        identifier = *text;
    } else if (key == "address") {
        const auto* integer = entry.get<std::int64_t>();
        if (!integer || *integer < 0) {
            warnSkippedPresetEntry("PresetParam", key, kWrongType);
            return false;
        }
        address = static_cast<AUParameterAddress>(*integer);
    } else if (key == "value") {
        const auto number = entry.number();
        const auto single = finiteFloat(number);
        if (!single) {
            warnSkippedPresetEntry("PresetParam", key,
                number ? "is not a finite number; the parameter record is skipped." : kWrongType);
            return false;
        }
        value = *single;
    }
    return true;
}
