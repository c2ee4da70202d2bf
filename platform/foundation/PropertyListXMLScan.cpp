#include "PropertyListXMLScan.h"

#include <algorithm>

namespace {

constexpr auto npos = std::string_view::npos;

// The position just after the first marker at or after from; npos when there is none.
std::size_t after(std::string_view document, std::string_view marker, std::size_t from)
{
    const auto found = document.find(marker, from);
    return found == npos ? npos : found + marker.size();
}

// A document type declaration ends at its first ">", or at "]>" when an
// internal subset opens before that.
std::size_t afterDeclaration(std::string_view document, std::size_t from)
{
    const auto end = document.find_first_of("[>", from);
    if (end == npos) {
        return npos;
    }
    return document[end] == '>' ? end + 1 : after(document, "]>", end);
}

// The position of the ">" closing the tag that starts at from; a quoted
// attribute value may hold ">".
std::size_t tagEnd(std::string_view document, std::size_t from)
{
    for (auto position = from; position < document.size(); ++position) {
        const char c = document[position];
        if (c == '>') {
            return position;
        }
        if (c == '"' || c == '\'') {
            position = document.find(c, position + 1);
            if (position == npos) {
                return npos;
            }
        }
    }
    return npos;
}

} // namespace

std::size_t PropertyListXMLScan::depth(std::string_view document, std::size_t limit)
{
    std::size_t open = 0;
    std::size_t deepest = 0;
    for (auto position = document.find('<'); position != npos; position = document.find('<', position)) {
        const auto rest = document.substr(position);
        if (rest.starts_with("<!--")) {
            position = after(document, "-->", position + 4);
        } else if (rest.starts_with("<![CDATA[")) {
            position = after(document, "]]>", position + 9);
        } else if (rest.starts_with("<?")) {
            position = after(document, "?>", position + 2);
        } else if (rest.starts_with("<!")) {
            position = afterDeclaration(document, position + 2);
        } else {
            const auto end = tagEnd(document, position + 1);
            if (end == npos) {
                break;
            }
            if (rest.starts_with("</")) {
                open -= std::min<std::size_t>(open, 1);
            } else if (document[end - 1] != '/') {
                deepest = std::max(deepest, ++open);
                if (deepest > limit) {
                    return limit + 1;
                }
            }
            position = end + 1;
        }
    }
    return deepest;
}
