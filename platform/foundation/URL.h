#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A URL kept as its text. Only ASCII texts made of the characters URLs allow
// (with well-formed percent escapes) are URLs; file URLs are made from paths.
class URL {
public:
    // The URL for `text`, or none when the text is empty or not a valid URL.
    static std::optional<URL> string(std::string_view text);
    // A "file://" URL for `path`, made absolute against the working folder.
    static URL fileURL(const std::filesystem::path& path);

    const std::string& absoluteString() const { return text_; }
    // The scheme in lower case, or empty for a relative URL.
    std::string scheme() const;
    bool isFileURL() const { return scheme() == "file"; }
    // The path part, percent escapes decoded.
    std::string path() const;
    std::string lastPathComponent() const;
    // The text after the last dot of the path's last component; empty when
    // that component has no dot or the path ends in a slash. Query and
    // fragment play no part.
    std::string pathExtension() const;
    URL appendingPathComponent(std::string_view component) const;

    bool operator==(const URL&) const = default;

private:
    explicit URL(std::string text) : text_(std::move(text)) {}
    // Offsets of the path part in text_: [begin, end).
    std::pair<std::size_t, std::size_t> pathRange() const;

    std::string text_;
};
