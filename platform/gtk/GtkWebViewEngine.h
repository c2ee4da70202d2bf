#pragma once

#include "WKWebViewEngine.h"

#include <gtk/gtk.h>

class WKWebView;

// Shows a web view's content in a WebKitGTK view. The web view owns its
// engine and the engine refers back to it without owning it.
class GtkWebViewEngine : public WKWebViewEngine {
public:
    explicit GtkWebViewEngine(WKWebView& webView);
    ~GtkWebViewEngine() override;
    GtkWebViewEngine(const GtkWebViewEngine&) = delete;
    GtkWebViewEngine& operator=(const GtkWebViewEngine&) = delete;

    void load(const URLRequest& request) override;
    void loadHTMLString(const std::string& html, const std::optional<URL>& baseURL) override;

    // The widget the shell places over the web view's frame; the engine
    // holds a reference to it.
    GtkWidget* widget() const { return widget_; }

private:
    WKWebView& webView_;
    GtkWidget* widget_;
};
