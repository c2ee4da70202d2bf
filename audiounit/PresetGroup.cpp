#include "PresetGroup.h"

#include "PresetEntries.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace {

// A decimal integer with an optional sign, "+" included, within 64 bits.
std::optional<std::int64_t> signedDecimal(std::string_view text)
{
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

} // namespace

PropertyListValue::Dictionary PresetGroup::toDictionary() const
{
    PropertyListValue::Dictionary dict {
        { "identifier", identifier },
        { "count", params.size() },
    };
    for (std::size_t index = 0; index < params.size(); ++index) {
        dict.emplace("param " + std::to_string(index), params[index].toDictionary());
    }
    return dict;
}

void PresetGroup::fromDictionary(const PropertyListValue::Dictionary& dict, ZUVPresetDelegate* delegate)
{
    params.clear();
    for (const auto& [key, entry] : dict) {
        if (key == "identifier") {
            if (const auto* text = entry.get<std::string>()) {
                identifier = *text;
                findGroupNumber();
            } else {
                warnSkippedPresetEntry("PresetGroup", key, "has the wrong type and is skipped.");
            }
        } else if (key.find("param") != std::string::npos) {
            const auto* record = nestedPresetRecord("PresetGroup", key, entry);
            if (!record) {
                continue;
            }
            PresetParam param;
            param.group = this;
            if (param.fromDictionary(*record, delegate)) {
                params.push_back(std::move(param));
            }
        }
    }
}

void PresetGroup::findGroupNumber()
{
    const auto blank = identifier.rfind(' ');
    const auto last = blank == std::string::npos ? std::string_view(identifier)
                                                 : std::string_view(identifier).substr(blank + 1);
    id = signedDecimal(last).value_or(0);
}
