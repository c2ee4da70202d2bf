#include "GtkWebViewEngine.h"

#include "WKWebView.h"

#include <webkit2/webkit2.h>

GtkWebViewEngine::GtkWebViewEngine(WKWebView& webView)
    : webView_(webView), widget_(GTK_WIDGET(g_object_ref_sink(webkit_web_view_new())))
{
}

GtkWebViewEngine::~GtkWebViewEngine()
{
    g_object_unref(widget_);
}

void GtkWebViewEngine::load(const URLRequest& request)
{
    if (request.url()) {
        webkit_web_view_load_uri(WEBKIT_WEB_VIEW(widget_), request.url()->absoluteString().c_str());
    }
}

void GtkWebViewEngine::loadHTMLString(const std::string& html, const std::optional<URL>& baseURL)
{
    webkit_web_view_load_html(WEBKIT_WEB_VIEW(widget_), html.c_str(),
                              baseURL ? baseURL->absoluteString().c_str() : nullptr);
}
