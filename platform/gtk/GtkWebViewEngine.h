#pragma once

#include "PopplerDocumentView.h"
#include "WKWebViewEngine.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class WKWebView;

// Shows a web view's content in a WebKitGTK view. Every navigation, new-window
// request and response is decided by the web view's delegates, whose answers
// may come later; PDFs are shown by WebKit's own viewer, or where WebKit has
// none, by a document view of our own. The web view owns its engine and the
// engine refers back to it without owning it. All engines share one ephemeral
// web context, and an engine takes the WebKit view of one that ended, if it was
// kept; both live as long as the process. Main thread only.
class GtkWebViewEngine : public WKWebViewEngine {
public:
    enum class PDFViewer {
        automatic, // WebKit's when it can show PDFs, else the document view
        webKit,
        documentView,
    };

    explicit GtkWebViewEngine(WKWebView& webView, PDFViewer pdfViewer = PDFViewer::automatic);
    ~GtkWebViewEngine() override;
    GtkWebViewEngine(const GtkWebViewEngine&) = delete;
    GtkWebViewEngine& operator=(const GtkWebViewEngine&) = delete;

    void load(const URLRequest& request) override;
    void loadHTMLString(const std::string& html, const std::optional<URL>& baseURL) override;

    // The widget the shell places over the web view's frame; the engine
    // holds a reference to it.
    GtkWidget* widget() const { return widget_; }

    // The URL of the page or document shown, its title, and whether a
    // navigation is under way.
    const std::optional<URL>& url() const { return url_; }
    std::string title() const;
    bool isLoading() const;
    // The web context the view runs in, the one all engines share.
    WebKitWebContext* context() const { return webkit_web_view_get_context(browser_); }

private:
    static gboolean decidePolicy(WebKitWebView* browser, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* create(WebKitWebView* browser, WebKitNavigationAction* action, gpointer self);
    static void loadChanged(WebKitWebView* browser, WebKitLoadEvent event, gpointer self);

    void decideResponse(WebKitResponsePolicyDecision* decision);
    // Answers `decision` with the delegates' verdict, if the engine still
    // exists then; an allowed PDF that the document view shows is refused to
    // WebKit.
    std::function<void(bool)> answer(WebKitPolicyDecision* decision, std::optional<URL> pdf = std::nullopt) const;
    bool showDocument(const URL& pdf);

    WKWebView& webView_;
    GtkWidget* widget_;
    WebKitWebView* browser_;
    std::unique_ptr<PopplerDocumentView> documentView_;
    std::optional<URL> url_;
    // Late answers reach the engine through this and find it empty once the
    // engine is gone.
    std::shared_ptr<GtkWebViewEngine*> self_ = std::make_shared<GtkWebViewEngine*>(this);
};
