#include "PropertyListShape.h"

#include <algorithm>

namespace {

std::uint64_t cappedSum(std::uint64_t figure, std::uint64_t added, std::uint64_t limit)
{
    return std::min(figure + added, limit + 1);
}

} // namespace

bool PropertyListShape::reach(std::size_t level, const PropertyListShape& limits)
{
    depth = std::max(depth, std::min(level, limits.depth + 1));
    return within(limits);
}

bool PropertyListShape::add(std::uint64_t addedValues, std::uint64_t addedBytes, const PropertyListShape& limits)
{
    values = cappedSum(values, addedValues, limits.values);
    bytes = cappedSum(bytes, addedBytes, limits.bytes);
    return within(limits);
}

bool PropertyListShape::addKeySearch(std::uint64_t search, const PropertyListShape& limits)
{
    keySearch = cappedSum(keySearch, search, limits.keySearch);
    return within(limits);
}

bool PropertyListShape::addReferenceMoves(std::uint64_t moves, const PropertyListShape& limits)
{
    referenceMoves = cappedSum(referenceMoves, moves, limits.referenceMoves);
    return within(limits);
}

bool PropertyListShape::within(const PropertyListShape& limits) const
{
    return depth <= limits.depth && values <= limits.values && bytes <= limits.bytes
        && keySearch <= limits.keySearch && referenceMoves <= limits.referenceMoves;
}
