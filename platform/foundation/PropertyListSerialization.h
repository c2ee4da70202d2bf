#pragma once

#include "Data.h"
#include "PropertyListValue.h"

#include <cstddef>
#include <cstdint>
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
    // A list that would hold more values (keys included), or more bytes of
    // text, data and keys, is refused when reading: a shared object counts
    // wherever it is used, as the reader copies it there. A real preset holds
    // about 5000 values and 50 KB, settings and manifests far less; these
    // keep what reading any list needs to a few tens of megabytes.
    static constexpr std::uint64_t kMaximumValues = 1 << 17;
    static constexpr std::uint64_t kMaximumBytes = 16 << 20;
    // An XML list whose dictionaries hold so many keys, so long, that looking
    // each up among those before it could take a tenth of a second is
    // refused; a real preset's keys cost a seventieth of this.
    static constexpr std::uint64_t kMaximumKeySearch = 1 << 28;

    // The value as an XML property list. Throws PropertyListError for texts
    // or keys holding a NUL character, which the format cannot carry, and
    // for a list that propertyList would refuse.
    static Data data(const PropertyListValue& value);
    // The value of an XML (or binary) property list. Throws PropertyListError
    // for content that is not a property list, holds dates or UIDs, nests
    // containers deeper than kMaximumDepth, would hold more than
    // kMaximumValues values or kMaximumBytes bytes, (XML) holds keys costing
    // more than kMaximumKeySearch to look up, or (binary) holds a UTF-16 text
    // or key with the character U+0000.
    static PropertyListValue propertyList(const Data& data);
};
