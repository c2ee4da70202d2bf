#pragma once

#include <cstddef>
#include <string_view>

// How deeply the elements of an XML document nest, read from its bytes
// without parsing it, so that a document too deep for a recursive reader is
// turned away before one sees it. Comments, CDATA sections, processing
// instructions, document type declarations and quoted attribute values hide
// the tags they hold, as they do for the reader; any other "<" that does not
// close an element counts as opening one.
class PropertyListXMLScan {
public:
    // The deepest nesting of elements; once it passes limit the scan stops and
    // limit + 1 is returned.
    static std::size_t depth(std::string_view document, std::size_t limit);
};
