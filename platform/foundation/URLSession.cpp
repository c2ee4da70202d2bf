#include "URLSession.h"

#include <fstream>
#include <iterator>

URLSession& URLSession::shared()
{
    static URLSession session;
    return session;
}

URLSession::Response URLSession::data(const URL& url) const
{
    if (!url.isFileURL()) {
        const std::string scheme = url.scheme().empty() ? "(none)" : url.scheme();
        return {std::nullopt, std::nullopt,
                "The URL '" + url.absoluteString() + "' cannot be loaded: scheme " + scheme +
                    " is not supported, only file URLs are (there is no network)."};
    }
    std::ifstream file(url.path(), std::ios::binary);
    std::error_code error;
    if (!file || std::filesystem::is_directory(url.path(), error)) {
        return {std::nullopt, std::nullopt,
                "The file '" + url.path() + "' could not be read."};
    }
    Data content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        return {std::nullopt, std::nullopt, "The file '" + url.path() + "' could not be read."};
    }
    return {std::move(content), std::nullopt, {}};
}
