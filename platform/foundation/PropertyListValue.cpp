#include "PropertyListValue.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace {

std::string realText(double value)
{
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string dataText(const Data& data)
{
    std::string text = "{length = " + std::to_string(data.size()) + ", bytes = 0x";
    for (const auto byte : data) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        text += hex;
    }
    return text + "}";
}

} // namespace

std::optional<double> PropertyListValue::number() const
{
    if (const auto* integer = get<std::int64_t>()) {
        return static_cast<double>(*integer);
    }
    if (const auto* real = get<double>()) {
        return *real;
    }
    return std::nullopt;
}

std::string PropertyListValue::description() const
{
    struct Describe {
        std::string operator()(bool value) const { return value ? "true" : "false"; }
        std::string operator()(std::int64_t value) const { return std::to_string(value); }
        std::string operator()(double value) const { return realText(value); }
        std::string operator()(const std::string& value) const { return value; }
        std::string operator()(const Data& value) const { return dataText(value); }
        std::string operator()(const Array& value) const
        {
            std::string text = "(";
            for (std::size_t i = 0; i < value.size(); ++i) {
                text += (i == 0 ? "" : ", ") + value[i].description();
            }
            return text + ")";
        }
        std::string operator()(const Dictionary& value) const
        {
            std::string text = "{";
            for (const auto& [key, item] : value) {
                text += key + " = " + item.description() + "; ";
            }
            return text + "}";
        }
    };
    return std::visit(Describe{}, storage_);
}
