#pragma once

#include "WKNavigation.h"

#include <memory>

class WKWebView;

// Answers what a web view's pages ask of the interface.
class WKUIDelegate {
public:
    virtual ~WKUIDelegate() = default;

    // A page asks for a new window; the web view returned shows it, none
    // opens nothing. The default opens nothing.
    virtual std::shared_ptr<WKWebView> webView(WKWebView& webView, const WKWebViewConfiguration& configuration,
                                               const WKNavigationAction& action, const WKWindowFeatures& features);
};
