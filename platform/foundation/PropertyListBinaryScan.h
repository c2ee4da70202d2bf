#pragma once

#include "Data.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// The shape of a binary property list, read from its object table without
// building it, so that a list too deep for a recursive reader, or one whose
// shared objects would be copied into far more values than the data holds
// bytes, is turned away before one sees it.
class PropertyListBinaryScan {
public:
    struct Shape {
        // Containers on the deepest path from the top object.
        std::size_t depth;
        // Values of the whole list, a shared object counted wherever it is used.
        std::uint64_t values;
    };

    // None when the table is not consistent (objects, references or counts
    // outside the data, or an object that holds itself), or a UTF-16 text or
    // key holds U+0000, which the reader cannot hand over. The scan stops as soon
    // as the depth passes depthLimit or the values pass valueLimit, and then
    // reports the figure that passed its limit as limit + 1.
    static std::optional<Shape> shape(const Data& data, std::size_t depthLimit, std::uint32_t valueLimit);
};
