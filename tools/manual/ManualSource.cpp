#include "ManualSource.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

std::string_view trimmed(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
}

// The block a line starts, if it starts one by its marker.
std::optional<ManualBlock> markedBlock(std::string_view line)
{
    using Kind = ManualBlock::Kind;
    static constexpr std::pair<std::string_view, Kind> kMarkers[] = {
        {"# ", Kind::title}, {"## ", Kind::heading}, {"### ", Kind::subheading}, {"- ", Kind::item},
        {"| ", Kind::verbatim}};
    for (const auto& [marker, kind] : kMarkers) {
        if (line.starts_with(marker)) {
            return ManualBlock{kind, std::string(trimmed(line.substr(marker.size())))};
        }
    }
    return std::nullopt;
}

[[noreturn]] void fail(int lineNumber, const std::string& message)
{
    throw ManualSourceError("line " + std::to_string(lineNumber) + ": " + message);
}

} // namespace

std::vector<ManualBlock> ManualSource::parse(std::istream& source)
{
    std::vector<ManualBlock> blocks;
    // Whether the last block takes the next line: a paragraph any line, an
    // item an indented one.
    bool open = false;
    int lineNumber = 0;
    for (std::string line; std::getline(source, line);) {
        ++lineNumber;
        const auto text = trimmed(line);
        if (text.empty()) {
            open = false;
            continue;
        }
        const bool indented = line.front() == ' ' || line.front() == '\t';
        if (auto block = markedBlock(line)) {
            if (block->text.empty()) {
                fail(lineNumber, "a marker without text");
            }
            if ((block->kind == ManualBlock::Kind::title) != blocks.empty()) {
                fail(lineNumber, "the title must be the first line, and the only one of its kind");
            }
            open = block->kind == ManualBlock::Kind::item;
            blocks.push_back(std::move(*block));
        } else if (blocks.empty()) {
            fail(lineNumber, "the manual must start with its title (# Title)");
        } else if (open && (indented || blocks.back().kind == ManualBlock::Kind::paragraph)) {
            blocks.back().text.append(" ").append(text);
        } else {
            blocks.push_back({ManualBlock::Kind::paragraph, std::string(text)});
            open = true;
        }
    }
    if (blocks.empty()) {
        fail(lineNumber, "the manual is empty");
    }
    return blocks;
}
