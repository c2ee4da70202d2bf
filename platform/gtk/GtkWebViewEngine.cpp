#include "GtkWebViewEngine.h"

#include "WKWebView.h"

#include <string_view>
#include <utility>

namespace {

constexpr const char* kPDFType = "application/pdf";
// WebKit shows a PDF through a page of its own viewer, which it loads as a
// response of its own after the PDF's was allowed.
constexpr std::string_view kPDFViewerScheme = "webkit-pdfjs-viewer";

std::optional<URL> urlOf(const char* uri)
{
    return uri ? URL::string(uri) : std::nullopt;
}

URLRequest requestOf(WebKitNavigationAction* action)
{
    return URLRequest(urlOf(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action))));
}

// The web context every view shares, made with the first view and kept while
// the process lives: no sandbox (it needs user namespaces a container may
// forbid) and nothing kept on disk. Main thread only, as GTK is.
WebKitWebContext* sharedContext()
{
    static WebKitWebContext* const context = [] {
        WebKitWebContext* made = webkit_web_context_new_ephemeral();
        webkit_web_context_set_sandbox_enabled(made, FALSE);
        webkit_web_context_set_cache_model(made, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
        return made;
    }();
    return context;
}

// A view that runs in a container or on a machine without a graphics
// processor: no hardware acceleration.
WebKitWebView* makeBrowser()
{
    WebKitSettings* settings = webkit_settings_new_with_settings(
        "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER, "enable-webgl", FALSE, nullptr);
    auto* browser = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", sharedContext(), "settings", settings, nullptr));
    g_object_unref(settings);
    return WEBKIT_WEB_VIEW(g_object_ref_sink(browser));
}

// WebKit leaves some memory behind for every view it makes, however it ends,
// so the view of an engine that ended is kept here for the next engine: one
// view serves every Help or Info opening in turn. Main thread only.
WebKitWebView*& keptBrowser()
{
    static WebKitWebView* kept = nullptr;
    return kept;
}

WebKitWebView* takeBrowser()
{
    WebKitWebView* kept = std::exchange(keptBrowser(), nullptr);
    return kept ? kept : makeBrowser();
}

// Keeps `browser`, taken out of `stack`, for the next engine, its web process
// ended as a view's is when the view goes; unless a view is kept already, the
// window's end destroyed it (which took it out of the stack), or it is still
// loading: WebKit leaves a thread behind for a process ended during a load.
void releaseBrowser(WebKitWebView* browser, GtkWidget* stack)
{
    if (keptBrowser() || gtk_widget_get_parent(GTK_WIDGET(browser)) != stack || webkit_web_view_is_loading(browser)) {
        g_object_unref(browser);
        return;
    }
    gtk_container_remove(GTK_CONTAINER(stack), GTK_WIDGET(browser));
    webkit_web_view_terminate_web_process(browser);
    keptBrowser() = browser;
}

} // namespace

GtkWebViewEngine::GtkWebViewEngine(WKWebView& webView, PDFViewer pdfViewer)
    : webView_(webView), widget_(GTK_WIDGET(g_object_ref_sink(gtk_stack_new()))), browser_(takeBrowser())
{
    gtk_container_add(GTK_CONTAINER(widget_), GTK_WIDGET(browser_));
    const bool webKitShowsPDFs = webkit_web_view_can_show_mime_type(browser_, kPDFType);
    if (pdfViewer == PDFViewer::documentView || (pdfViewer == PDFViewer::automatic && !webKitShowsPDFs)) {
        documentView_ = std::make_unique<PopplerDocumentView>();
        gtk_container_add(GTK_CONTAINER(widget_), documentView_->widget());
    }
    gtk_widget_show_all(widget_);
    gtk_stack_set_visible_child(GTK_STACK(widget_), GTK_WIDGET(browser_));
    g_signal_connect(browser_, "decide-policy", G_CALLBACK(decidePolicy), this);
    g_signal_connect(browser_, "create", G_CALLBACK(create), this);
    g_signal_connect(browser_, "load-changed", G_CALLBACK(loadChanged), this);
    // A failed navigation leaves the content as it was, as in the headless
    // web view, instead of showing WebKit's error page.
    const auto keepContent = +[](WebKitWebView*, WebKitLoadEvent, char*, GError*, gpointer) { return TRUE; };
    g_signal_connect(browser_, "load-failed", G_CALLBACK(keepContent), this);
}

GtkWebViewEngine::~GtkWebViewEngine()
{
    g_signal_handlers_disconnect_by_data(browser_, this);
    releaseBrowser(browser_, widget_);
    g_object_unref(widget_);
}

void GtkWebViewEngine::load(const URLRequest& request)
{
    if (!request.url()) {
        webView_.decidePolicy(WKNavigationAction(request), [](bool) {});
        return;
    }
    webkit_web_view_load_uri(browser_, request.url()->absoluteString().c_str());
}

void GtkWebViewEngine::loadHTMLString(const std::string& html, const std::optional<URL>& baseURL)
{
    webkit_web_view_load_html(browser_, html.c_str(), baseURL ? baseURL->absoluteString().c_str() : nullptr);
}

std::string GtkWebViewEngine::title() const
{
    const char* title = webkit_web_view_get_title(browser_);
    return title ? title : "";
}

bool GtkWebViewEngine::isLoading() const
{
    return webkit_web_view_is_loading(browser_);
}

gboolean GtkWebViewEngine::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                        gpointer self)
{
    auto& engine = *static_cast<GtkWebViewEngine*>(self);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        engine.decideResponse(WEBKIT_RESPONSE_POLICY_DECISION(decision));
        return TRUE;
    }
    auto* action = webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    engine.webView_.decidePolicy(WKNavigationAction(requestOf(action)), engine.answer(decision));
    return TRUE;
}

void GtkWebViewEngine::decideResponse(WebKitResponsePolicyDecision* decision)
{
    auto* response = webkit_response_policy_decision_get_response(decision);
    const auto url = urlOf(webkit_uri_response_get_uri(response));
    if (url && url->scheme() == kPDFViewerScheme) {
        webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
        return;
    }
    const char* mimeType = webkit_uri_response_get_mime_type(response);
    const std::string type = mimeType ? mimeType : "";
    const bool forDocumentView = documentView_ && url && type == kPDFType;
    webView_.decidePolicy(WKNavigationResponse(url, type),
                          answer(WEBKIT_POLICY_DECISION(decision), forDocumentView ? url : std::nullopt));
}

std::function<void(bool)> GtkWebViewEngine::answer(WebKitPolicyDecision* decision, std::optional<URL> pdf) const
{
    std::shared_ptr<WebKitPolicyDecision> held(WEBKIT_POLICY_DECISION(g_object_ref(decision)), g_object_unref);
    return [self = std::weak_ptr(self_), held = std::move(held), pdf = std::move(pdf)](bool allowed) {
        const auto engine = self.lock();
        if (!engine) {
            return;
        }
        if (allowed && pdf && (*engine)->showDocument(*pdf)) {
            allowed = false;
        }
        if (allowed) {
            webkit_policy_decision_use(held.get());
        } else {
            webkit_policy_decision_ignore(held.get());
        }
    };
}

bool GtkWebViewEngine::showDocument(const URL& pdf)
{
    if (!documentView_->open(pdf)) {
        return false;
    }
    gtk_stack_set_visible_child(GTK_STACK(widget_), documentView_->widget());
    url_ = pdf;
    return true;
}

// A page's request for a new window is the delegate's to answer: a web view it
// gives loads the request; WebKit itself never opens one.
GtkWidget* GtkWebViewEngine::create(WebKitWebView*, WebKitNavigationAction* action, gpointer self)
{
    static_cast<GtkWebViewEngine*>(self)->webView_.openInNewWindow(requestOf(action));
    return nullptr;
}

void GtkWebViewEngine::loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self)
{
    auto& engine = *static_cast<GtkWebViewEngine*>(self);
    if (event == WEBKIT_LOAD_COMMITTED) {
        gtk_stack_set_visible_child(GTK_STACK(engine.widget_), GTK_WIDGET(engine.browser_));
        engine.url_ = urlOf(webkit_web_view_get_uri(engine.browser_));
    }
}
