#pragma once

#include <cstddef>
#include <cstdint>

// What a property list becomes once it is read: how deeply its containers
// nest, how many values it holds (keys included), how many bytes of text,
// data and keys, a shared object counted wherever it is used, and how much
// reading its keys costs. The scans take one as their limits and give one as
// their finding.
struct PropertyListShape {
    // Containers on the deepest path from the top value.
    std::size_t depth = 0;
    std::uint64_t values = 0;
    std::uint64_t bytes = 0;
    // The bytes an XML reader may compare while it looks for each key of a
    // dictionary among those before it, each comparison costing at least
    // kKeyComparison. Keys built to share one place of its table make the
    // search as slow as it can be; the binary reader does not search.
    std::uint64_t keySearch = 0;
    // The bytes an XML reader moves while it decodes the character references
    // of keys and texts: each one moves the rest of its stretch of text, up
    // to the next comment, CDATA section or closing tag, so a text full of
    // them takes time in the square of its length.
    std::uint64_t referenceMoves = 0;

    static constexpr std::uint64_t kKeyComparison = 64;

    // These grow a finding as a scan meets the list. A figure that passes its
    // limit stays at limit + 1, which is how the scan reports it; each answers
    // whether every figure is still within its limit, as the scan stops once
    // one is not.
    bool reach(std::size_t level, const PropertyListShape& limits);
    bool add(std::uint64_t addedValues, std::uint64_t addedBytes, const PropertyListShape& limits);
    bool addKeySearch(std::uint64_t search, const PropertyListShape& limits);
    bool addReferenceMoves(std::uint64_t moves, const PropertyListShape& limits);
    bool within(const PropertyListShape& limits) const;
};
