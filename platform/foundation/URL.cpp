#include "URL.h"

#include <algorithm>
#include <cctype>

namespace {

bool isUnreserved(unsigned char c)
{
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

bool isAllowed(unsigned char c)
{
    static constexpr std::string_view reserved = ":/?#[]@!$&'()*+,;=";
    return isUnreserved(c) || reserved.find(static_cast<char>(c)) != std::string_view::npos;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool isValidURLText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size() || hexValue(text[i + 1]) < 0 || hexValue(text[i + 2]) < 0) {
                return false;
            }
            i += 2;
        } else if (!isAllowed(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return !text.empty();
}

// Length of the scheme at the start of `text` (without the colon), or 0.
std::size_t schemeLength(std::string_view text)
{
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return 0;
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':') {
            return i;
        }
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return 0;
        }
    }
    return 0;
}

std::string percentDecoded(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string percentEncodedPath(std::string_view path)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte) || c == '/') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += digits[byte >> 4];
            encoded += digits[byte & 0xF];
        }
    }
    return encoded;
}

} // namespace

std::optional<URL> URL::string(std::string_view text)
{
    if (!isValidURLText(text)) {
        return std::nullopt;
    }
    return URL(std::string(text));
}

URL URL::fileURL(const std::filesystem::path& path)
{
    return URL("file://" + percentEncodedPath(std::filesystem::absolute(path).lexically_normal().string()));
}

std::string URL::scheme() const
{
    std::string scheme = text_.substr(0, schemeLength(text_));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme;
}

std::pair<std::size_t, std::size_t> URL::pathRange() const
{
    const std::size_t length = schemeLength(text_);
    std::size_t begin = length == 0 ? 0 : length + 1;
    if (text_.compare(begin, 2, "//") == 0) {
        begin = std::min(text_.find_first_of("/?#", begin + 2), text_.size());
    }
    const std::size_t end = std::min(text_.find_first_of("?#", begin), text_.size());
    return {begin, end};
}

std::string URL::path() const
{
    const auto [begin, end] = pathRange();
    return percentDecoded(std::string_view(text_).substr(begin, end - begin));
}

std::string URL::lastPathComponent() const
{
    std::string path = this->path();
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    const auto slash = path.rfind('/');
    return slash == std::string::npos || path.size() == 1 ? path : path.substr(slash + 1);
}

std::string URL::pathExtension() const
{
    const std::string path = this->path();
    if (path.empty() || path.back() == '/') {
        return "";
    }
    const std::string last = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    const auto dot = last.rfind('.');
    return dot == std::string::npos ? "" : last.substr(dot + 1);
}

URL URL::appendingPathComponent(std::string_view component) const
{
    const auto [begin, end] = pathRange();
    std::string text = text_.substr(0, end);
    if (text.size() == begin || text.back() != '/') {
        text += '/';
    }
    text += percentEncodedPath(component);
    return URL(text + text_.substr(end));
}
