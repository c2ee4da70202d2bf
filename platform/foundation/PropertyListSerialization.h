#pragma once

#include "Data.h"
#include "PropertyListValue.h"

#include <cstddef>
#include <stdexcept>

// Malformed or unsupported property-list content.
class PropertyListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads and writes property lists.
class PropertyListSerialization {
public:
    // Containers nested deeper than this are refused when reading.
    static constexpr std::size_t kMaximumDepth = 256;

    // The value as an XML property list. Throws PropertyListError for texts
    // or keys holding a NUL character, which the format cannot carry.
    static Data data(const PropertyListValue& value);
    // The value of an XML (or binary) property list. Throws PropertyListError
    // for content that is not a property list, holds dates or UIDs, nests
    // containers deeper than kMaximumDepth, or (binary) shares its objects so
    // often that it would hold more values than it has bytes, or holds a
    // UTF-16 text or key with the character U+0000.
    static PropertyListValue propertyList(const Data& data);
};
