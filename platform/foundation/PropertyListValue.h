#pragma once

#include "Data.h"

#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// One value of a property list: a boolean, an integer, a real, a text, data,
// an array or a dictionary (keys in sorted order).
class PropertyListValue {
public:
    using Array = std::vector<PropertyListValue>;
    using Dictionary = std::map<std::string, PropertyListValue>;
    using Storage = std::variant<bool, std::int64_t, double, std::string, Data, Array, Dictionary>;

    PropertyListValue(bool value) : storage_(value) {}
    template <std::integral Integer>
        requires(!std::same_as<Integer, bool>)
    PropertyListValue(Integer value) : storage_(static_cast<std::int64_t>(value))
    {
    }
    PropertyListValue(double value) : storage_(value) {}
    PropertyListValue(float value) : storage_(static_cast<double>(value)) {}
    PropertyListValue(std::string value) : storage_(std::move(value)) {}
    PropertyListValue(const char* value) : storage_(std::string(value)) {}
    PropertyListValue(Data value) : storage_(std::move(value)) {}
    PropertyListValue(Array value) : storage_(std::move(value)) {}
    PropertyListValue(Dictionary value) : storage_(std::move(value)) {}

    template <class T>
    bool is() const
    {
        return std::holds_alternative<T>(storage_);
    }
    // The value as T, or nullptr when it holds another type.
    template <class T>
    const T* get() const
    {
        return std::get_if<T>(&storage_);
    }
    // Integers and reals as a double; none for every other type.
    std::optional<double> number() const;

    const Storage& storage() const { return storage_; }
    bool operator==(const PropertyListValue&) const = default;

    // A readable one-line rendering for logs.
    std::string description() const;

private:
    Storage storage_;
};
