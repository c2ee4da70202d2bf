#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// How deeply the property-list reader nests containers when it reads an XML
// document, found from the bytes without building anything, so that a
// document too deep for the reader's recursive freeing is turned away before
// the reader sees it. The scan follows the document token by token as that
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
    // The deepest nesting of containers the reader builds, the top one being
    // level 1 and an empty container counting as a level. Once the nesting
    // passes limit the scan stops and limit + 1 is returned. None when the
    // reader would stop at malformed markup before that, or a NUL byte comes
    // in a tag or a value's text (the reader would see a shorter name, or
    // abort over a text shorter than it counts).
    static std::optional<std::size_t> depth(std::string_view document, std::size_t limit);
};
