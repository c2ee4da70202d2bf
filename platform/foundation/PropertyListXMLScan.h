#pragma once

#include "PropertyListShape.h"

#include <optional>
#include <string_view>

// How deeply the property-list reader nests containers when it reads an XML
// document, and how many values and bytes it builds, found from the bytes
// without building anything, so that a document too deep for the reader's
// recursive freeing, or too large for its memory, is turned away before the
// reader sees it. The scan follows the document token by token as that
// reader does, since any difference would let tags the scan skips be read as
// containers: outside of tags only comments, processing instructions and a
// document type declaration are skipped; inside tags, declarations and
// instructions only double quotes hide markup; the text of a value element
// may hold comments and CDATA sections and nothing else; a dictionary or
// array closes only with a tag matching the innermost open one; and reading
// ends with the top container's closing tag, or at once when the top value is
// no container.
class PropertyListXMLScan {
public:
    // The depth is the deepest nesting of containers the reader builds, the
    // top one being level 1 and an empty container counting as a level; the
    // values are its containers and value elements, keys included, and the
    // comments and CDATA sections in their text; the bytes are those of every
    // key, text and data element from the end of its opening tag, no fewer
    // than the reader keeps once it has decoded references and Base64; the
    // reference moves are those of its keys and texts. The scan stops as
    // soon as a figure passes its limit (at the end of the value, in a
    // value's text), and then reports that figure as its limit + 1. None when the
    // reader would stop at malformed markup before that, or a NUL byte comes
    // in a tag or a value's text (the reader would see a shorter name, or
    // abort over a text shorter than it counts).
    static std::optional<PropertyListShape> shape(std::string_view document, const PropertyListShape& limits);
};
