#pragma once

#include "WKNavigation.h"

#include <functional>

class WKWebView;

// Decides the navigations of a web view. Each decision handler must be
// answered exactly once; the defaults allow everything.
class WKNavigationDelegate {
public:
    virtual ~WKNavigationDelegate() = default;

    virtual void webView(WKWebView& webView, const WKNavigationAction& action,
                         const std::function<void(WKNavigationActionPolicy)>& decisionHandler);
    virtual void webView(WKWebView& webView, const WKNavigationResponse& response,
                         const std::function<void(WKNavigationResponsePolicy)>& decisionHandler);
};
