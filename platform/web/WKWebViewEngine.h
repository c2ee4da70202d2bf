#pragma once

#include "URL.h"
#include "URLRequest.h"

#include <optional>
#include <string>

// A browser engine that shows a web view's content to a person (the
// application shell's). A web view with an engine hands its loads to it; the
// engine asks the web view's delegates through WKWebView::decidePolicy and
// WKWebView::createWebView.
class WKWebViewEngine {
public:
    virtual ~WKWebViewEngine() = default;

    virtual void load(const URLRequest& request) = 0;
    virtual void loadHTMLString(const std::string& html, const std::optional<URL>& baseURL) = 0;
};
