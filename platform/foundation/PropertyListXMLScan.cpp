#include "PropertyListXMLScan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kSpace = " \t\r\n";

// The first marker at or after from that no double-quoted span holds; npos
// when there is none, or a quote is never closed.
std::size_t findUnquoted(std::string_view text, std::string_view marker, std::size_t from)
{
    for (auto at = from; at + marker.size() <= text.size(); ++at) {
        if (text.substr(at, marker.size()) == marker) {
            return at;
        }
        if (text[at] == '"' && (at = text.find('"', at + 1)) == npos) {
            return npos;
        }
    }
    return npos;
}

// The first of the characters at or after from that no double-quoted span
// holds; npos when there is none, or a quote is never closed.
std::size_t findAnyUnquoted(std::string_view text, std::string_view characters, std::size_t from)
{
    for (auto at = from; at < text.size(); ++at) {
        if (text[at] == '"') {
            if ((at = text.find('"', at + 1)) == npos) {
                return npos;
            }
        } else if (characters.find(text[at]) != npos) {
            return at;
        }
    }
    return npos;
}

// Elements whose content is text.
bool isValue(std::string_view name)
{
    static constexpr std::array<std::string_view, 8> kNames {
        "key", "string", "integer", "real", "data", "date", "true", "false"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

// Elements whose text the reader keeps.
bool keepsText(std::string_view name)
{
    return name == "key" || name == "string" || name == "data";
}

// Elements whose character references the reader decodes.
bool decodesReferences(std::string_view name)
{
    return name == "key" || name == "string";
}

// An element that stays open until its closing tag.
enum class Open : std::uint8_t { plist, dict, array };

// The container an element of that name is; none for any other name.
std::optional<Open> containerNamed(std::string_view name)
{
    if (name == "dict") {
        return Open::dict;
    }
    if (name == "array") {
        return Open::array;
    }
    return std::nullopt;
}

class Scan {
public:
    Scan(std::string_view document, const PropertyListShape& limits) : document_(document), limits_(limits) {}

    std::optional<PropertyListShape> run()
    {
        for (;;) {
            skipSpace();
            if (at_ == document_.size()) {
                return found_;
            }
            const Step step = document_[at_] == '<' ? markup() : Step::refused;
            if (step == Step::refused) {
                return std::nullopt;
            }
            if (step == Step::finished) {
                return found_;
            }
        }
    }

private:
    enum class Step { next, finished, refused };

    void skipSpace()
    {
        at_ = std::min(document_.find_first_not_of(kSpace, at_), document_.size());
    }

    bool startsWith(std::string_view text) const { return document_.substr(at_).starts_with(text); }

    Step skipPast(std::size_t found, std::size_t length)
    {
        if (found == npos) {
            return Step::refused;
        }
        at_ = found + length;
        return Step::next;
    }

    // At a "<" outside any element's text.
    Step markup()
    {
        if (++at_ == document_.size()) {
            return Step::refused;
        }
        if (document_[at_] == '?') {
            return skipPast(findUnquoted(document_, "?>", at_), 2);
        }
        return document_[at_] == '!' ? declaration() : tag();
    }

    // At the "!" of a comment or document type declaration; the reader knows
    // no other.
    Step declaration()
    {
        const auto rest = document_.size() - at_;
        if (rest > 3 && startsWith("!--")) {
            return skipPast(document_.find("-->", at_ + 3), 3);
        }
        if (rest <= 8 || !startsWith("!DOCTYPE")) {
            return Step::refused;
        }
        // An internal subset, opened by "[", ends at the first "]>" outside
        // double quotes, whatever comment or single quote holds it. A
        // declaration left open takes the rest of the document.
        const auto end = findAnyUnquoted(document_, "[>", at_ + 8);
        if (end == npos) {
            return Step::finished;
        }
        if (document_[end] == '>') {
            return skipPast(end, 1);
        }
        return skipPast(findUnquoted(document_, "]>", end), 2);
    }

    // At the first byte of a tag's name. A name ends at white space, "<" or
    // ">"; the tag ends at the next ">" outside double quotes; it closes
    // itself when "/" comes just before that ">", and a "/" ending its name
    // is then no part of the name.
    Step tag()
    {
        const auto start = at_;
        const auto nameEnd = document_.find_first_of(" \r\n\t<>", start);
        if (nameEnd == npos) {
            return Step::refused;
        }
        const auto end = document_[nameEnd] == '>' ? nameEnd : findAnyUnquoted(document_, "<>", nameEnd);
        if (end == npos || document_[end] != '>' || document_.substr(start, end - start).find('\0') != npos) {
            return Step::refused;
        }
        const bool empty = document_[end - 1] == '/';
        auto name = document_.substr(start, nameEnd - start);
        if (empty) {
            name = name.substr(0, end - 1 - start);
        }
        at_ = end + 1;
        return element(name, empty);
    }

    Step element(std::string_view name, bool empty)
    {
        if (name == "plist") {
            return openPlist(empty);
        }
        if (name == "/plist") {
            return closePlist();
        }
        hasContent_ = true;
        if (const auto container = containerNamed(name)) {
            return openContainer(*container, empty);
        }
        if (isValue(name)) {
            const auto start = at_;
            if (!empty && !skipText(name)) {
                return Step::refused;
            }
            const auto bytes = keepsText(name) ? at_ - start : 0;
            if (!found_.add(1, bytes, limits_) || (name == "key" && !countKey(bytes))) {
                return Step::finished;
            }
            // A value on top is all the reader reads.
            return rooted_ ? Step::next : Step::finished;
        }
        return name.starts_with('/') ? closeContainer(name.substr(1)) : Step::refused;
    }

    // A plist element wraps containers without being one; another one once
    // the top value is read and closed ends the reading.
    Step openPlist(bool empty)
    {
        hasContent_ = false;
        if (open_.empty() && rooted_) {
            return Step::finished;
        }
        if (empty) {
            return Step::refused;
        }
        open_.push_back(Open::plist);
        return Step::next;
    }

    Step closePlist()
    {
        if (!hasContent_ || open_.empty() || open_.back() != Open::plist) {
            return Step::refused;
        }
        open_.pop_back();
        return Step::next;
    }

    // The top container holds what follows even when it closes itself; any
    // other holds what follows only until it is closed.
    Step openContainer(Open container, bool empty)
    {
        const auto level = holderLevel_ + 1;
        if (!found_.reach(level, limits_) || !found_.add(1, 0, limits_)) {
            return Step::finished;
        }
        if (!empty) {
            open_.push_back(container);
        }
        if (!empty || !rooted_) {
            holderLevel_ = level;
            keys_.resize(level + 1);
            keys_[level] = 0;
        }
        rooted_ = true;
        return Step::next;
    }

    Step closeContainer(std::string_view name)
    {
        const auto container = containerNamed(name);
        if (!container || open_.empty() || open_.back() != *container) {
            return Step::refused;
        }
        open_.pop_back();
        return --holderLevel_ == 0 ? Step::finished : Step::next;
    }

    // Counts a key of bytes, which the reader looks for among the keys its
    // container got before, comparing up to its bytes with each.
    bool countKey(std::size_t bytes)
    {
        auto& before = keys_[holderLevel_];
        const auto search = before * (bytes + PropertyListShape::kKeyComparison);
        ++before;
        return found_.addKeySearch(search, limits_);
    }

    // Just after a value element's opening tag: skips its text, comments and
    // CDATA sections up to and past its closing tag, counting each comment and
    // section as a value, since the reader builds a node for each, and the
    // bytes it moves to decode references. False when anything else comes
    // first, the closing tag does not match, or the text holds a NUL byte:
    // the reader would hand over a shorter text than it counts, and end the
    // process over the difference.
    bool skipText(std::string_view name)
    {
        const auto start = at_;
        for (;;) {
            const auto open = document_.find('<', at_);
            if (open == npos || open + 1 == document_.size()) {
                return false;
            }
            if (decodesReferences(name)) {
                found_.addReferenceMoves(referenceMoves(at_, open), limits_);
            }
            at_ = open + 1;
            if (document_[at_] == '/') {
                break;
            }
            if (document_[at_] != '!' || !skipHidden()) {
                return false;
            }
            found_.add(1, 0, limits_);
        }
        if (document_.substr(start, at_ - start).find('\0') != npos) {
            return false;
        }
        ++at_;
        if (at_ + name.size() >= document_.size() || document_.substr(at_, name.size()) != name) {
            return false;
        }
        at_ += name.size();
        skipSpace();
        return at_ < document_.size() && document_[at_++] == '>';
    }

    // The bytes the reader moves to decode the references in the text from
    // from to end: it takes each "&" for one, and moves all that follows it
    // in the text over the bytes the reference shrinks by.
    std::uint64_t referenceMoves(std::size_t from, std::size_t end) const
    {
        const auto text = document_.substr(from, end - from);
        std::uint64_t moves = 0;
        for (auto at = text.find('&'); at != npos; at = text.find('&', at + 1)) {
            moves += text.size() - at;
        }
        return moves;
    }

    // At the "!" of a comment or CDATA section inside a value's text.
    bool skipHidden()
    {
        if (++at_ >= document_.size() - 1) {
            return false;
        }
        if (startsWith("--")) {
            return skipPast(document_.find("-->", at_ + 2), 3) == Step::next;
        }
        if (!startsWith("[")) {
            return false;
        }
        ++at_;
        if (at_ + 8 >= document_.size() || !startsWith("CDATA[")) {
            return false;
        }
        return skipPast(document_.find("]]>", at_ + 6), 3) == Step::next;
    }

    std::string_view document_;
    PropertyListShape limits_;
    std::size_t at_ = 0;
    // The open dictionaries, arrays and plist elements, innermost last.
    std::vector<Open> open_;
    // The level of the container that holds the next value; 0 before the top one.
    std::size_t holderLevel_ = 0;
    // The keys of the container at each level up to the holder's.
    std::vector<std::uint64_t> keys_ {0};
    PropertyListShape found_;
    bool rooted_ = false;
    // Whether anything but a plist element came since the last plist element opened.
    bool hasContent_ = false;
};

} // namespace

std::optional<PropertyListShape> PropertyListXMLScan::shape(std::string_view document, const PropertyListShape& limits)
{
    return Scan(document, limits).run();
}
