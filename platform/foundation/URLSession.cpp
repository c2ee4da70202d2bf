#include "URLSession.h"

#include "FileManager.h"

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
    try {
        return {FileManager::default_().contents(url.path()), std::nullopt, {}};
    } catch (const FileManagerError& error) {
        return {std::nullopt, std::nullopt, error.localizedDescription()};
    }
}
