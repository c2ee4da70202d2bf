#pragma once

#include "Data.h"
#include "PropertyListShape.h"

#include <optional>

// The shape of a binary property list, read from its object table without
// building it, so that a list too deep for a recursive reader, or one whose
// shared objects would be copied into far more values or bytes than any real
// list holds, is turned away before a reader sees it.
class PropertyListBinaryScan {
public:
    // None when the table is not consistent (objects, references, counts or
    // lengths outside the data, or an object that holds itself), or a UTF-16
    // text or key holds U+0000, which the reader cannot hand over. The scan
    // stops as soon as a figure passes its limit, and then reports that
    // figure as its limit + 1.
    static std::optional<PropertyListShape> shape(const Data& data, const PropertyListShape& limits);
};
