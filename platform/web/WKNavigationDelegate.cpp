#include "WKNavigationDelegate.h"

void WKNavigationDelegate::webView(WKWebView&, const WKNavigationAction&,
                                   const std::function<void(WKNavigationActionPolicy)>& decisionHandler)
{
    decisionHandler(WKNavigationActionPolicy::allow);
}

void WKNavigationDelegate::webView(WKWebView&, const WKNavigationResponse&,
                                   const std::function<void(WKNavigationResponsePolicy)>& decisionHandler)
{
    decisionHandler(WKNavigationResponsePolicy::allow);
}

