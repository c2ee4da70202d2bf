#pragma once

#include "Data.h"
#include "UIView.h"
#include "URLRequest.h"
#include "WKNavigation.h"
#include "WKNavigationDelegate.h"
#include "WKUIDelegate.h"
#include "WKWebViewEngine.h"

#include <functional>

#include <memory>
#include <optional>
#include <string>

// A view that shows web content. Without an engine, the headless core loads
// file URLs only (any other scheme fails after its navigation was allowed),
// asks its navigation delegate for each navigation and each response, and
// records what it shows. With an engine, loads go to the engine. Delegates
// are held weakly.
class WKWebView : public UIView {
public:
    using UIView::UIView;

    std::weak_ptr<WKNavigationDelegate> navigationDelegate;
    std::weak_ptr<WKUIDelegate> uiDelegate;

    // Navigates to the request's URL: the navigation delegate decides the
    // navigation and then the response; a cancelled or failed navigation
    // leaves the shown content as it was.
    void load(const URLRequest& request);
    // Shows `html` as a page whose relative links resolve against `baseURL`.
    void loadHTMLString(const std::string& html, const std::optional<URL>& baseURL);
    // What following a link that targets a new window does: the interface
    // delegate may give a web view to load it in; without one nothing opens.
    void openInNewWindow(const URLRequest& request);

    // The engine that shows this view's content from now on; none keeps the
    // headless core.
    void setEngine(std::shared_ptr<WKWebViewEngine> engine) { engine_ = std::move(engine); }
    const std::shared_ptr<WKWebViewEngine>& engine() const { return engine_; }

    // Ask the navigation delegate (everything is allowed without one);
    // `decided` hears the first answer, whenever the delegate gives it.
    void decidePolicy(const WKNavigationAction& action, std::function<void(bool allowed)> decided);
    void decidePolicy(const WKNavigationResponse& response, std::function<void(bool allowed)> decided);
    // Asks the interface delegate for a web view to open `action` in; none
    // without a delegate.
    std::shared_ptr<WKWebView> createWebView(const WKNavigationAction& action);

    // What is shown: the URL of the page (the base URL of a loaded string)
    // and its content.
    const std::optional<URL>& url() const { return url_; }
    const Data& content() const { return content_; }
    // The URL of the last navigation that failed to load.
    const std::optional<URL>& failedURL() const { return failedURL_; }

private:
    void show(std::optional<URL> url, Data content);

    std::optional<URL> url_;
    Data content_;
    std::optional<URL> failedURL_;
    std::shared_ptr<WKWebViewEngine> engine_;
};
