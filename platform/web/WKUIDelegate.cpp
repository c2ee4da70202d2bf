#include "WKUIDelegate.h"

std::shared_ptr<WKWebView> WKUIDelegate::webView(WKWebView&, const WKWebViewConfiguration&,
                                                 const WKNavigationAction&, const WKWindowFeatures&)
{
    return nullptr;
}
