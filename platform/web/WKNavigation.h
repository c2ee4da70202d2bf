#pragma once

#include "URLRequest.h"

#include <optional>
#include <string>

enum class WKNavigationActionPolicy { cancel, allow };
enum class WKNavigationResponsePolicy { cancel, allow };

// A navigation a web view is about to start.
class WKNavigationAction {
public:
    explicit WKNavigationAction(URLRequest request) : request_(std::move(request)) {}
    const URLRequest& request() const { return request_; }

private:
    URLRequest request_;
};

// The response a navigation received, before its content is shown.
class WKNavigationResponse {
public:
    WKNavigationResponse(std::optional<URL> url, std::string mimeType)
        : url_(std::move(url)), mimeType_(std::move(mimeType))
    {
    }
    const std::optional<URL>& url() const { return url_; }
    const std::string& mimeType() const { return mimeType_; }

private:
    std::optional<URL> url_;
    std::string mimeType_;
};

// How a web view that a page asks for should be made and shown.
class WKWebViewConfiguration {};
class WKWindowFeatures {};
