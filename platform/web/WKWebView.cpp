#include "WKWebView.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

std::string mimeTypeOf(const URL& url)
{
    std::string extension = url.pathExtension();
    for (auto& character : extension) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    if (extension == "pdf") {
        return "application/pdf";
    }
    if (extension == "html" || extension == "htm") {
        return "text/html";
    }
    return "application/octet-stream";
}

std::optional<Data> readFile(const URL& url)
{
    if (!url.isFileURL()) {
        return std::nullopt;
    }
    std::ifstream stream(url.path(), std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    return Data((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

// Hands a delegate's first answer on as allowed or not and ignores the rest;
// the answer may come after the asking call has returned.
template <class Policy> std::function<void(Policy)> firstAnswer(std::function<void(bool)> decided)
{
    return [decided = std::move(decided), answered = std::make_shared<bool>(false)](Policy policy) {
        if (!std::exchange(*answered, true)) {
            decided(policy == Policy::allow);
        }
    };
}

// The headless core decides synchronously: an answer the delegate keeps for
// later leaves the navigation undecided, and so not shown.
struct SynchronousDecision {
    std::shared_ptr<bool> allowed = std::make_shared<bool>(false);
    std::function<void(bool)> receiver() const
    {
        return [allowed = allowed](bool answer) { *allowed = answer; };
    }
};

} // namespace

void WKWebView::decidePolicy(const WKNavigationAction& action, std::function<void(bool)> decided)
{
    const auto delegate = navigationDelegate.lock();
    if (!delegate) {
        decided(true);
        return;
    }
    delegate->webView(*this, action, firstAnswer<WKNavigationActionPolicy>(std::move(decided)));
}

void WKWebView::decidePolicy(const WKNavigationResponse& response, std::function<void(bool)> decided)
{
    const auto delegate = navigationDelegate.lock();
    if (!delegate) {
        decided(true);
        return;
    }
    delegate->webView(*this, response, firstAnswer<WKNavigationResponsePolicy>(std::move(decided)));
}

std::shared_ptr<WKWebView> WKWebView::createWebView(const WKNavigationAction& action)
{
    const auto delegate = uiDelegate.lock();
    if (!delegate) {
        return nullptr;
    }
    return delegate->webView(*this, WKWebViewConfiguration{}, action, WKWindowFeatures{});
}

void WKWebView::load(const URLRequest& request)
{
    if (engine_) {
        engine_->load(request);
        return;
    }
    const SynchronousDecision action;
    decidePolicy(WKNavigationAction(request), action.receiver());
    if (!*action.allowed || !request.url()) {
        return;
    }
    const auto& url = *request.url();
    auto content = readFile(url);
    if (!content) {
        failedURL_ = url;
        return;
    }
    const SynchronousDecision response;
    decidePolicy(WKNavigationResponse(url, mimeTypeOf(url)), response.receiver());
    if (*response.allowed) {
        show(url, std::move(*content));
    }
}

void WKWebView::loadHTMLString(const std::string& html, const std::optional<URL>& baseURL)
{
    if (engine_) {
        engine_->loadHTMLString(html, baseURL);
        return;
    }
    show(baseURL, Data(html.begin(), html.end()));
}

void WKWebView::openInNewWindow(const URLRequest& request)
{
    if (const auto opened = createWebView(WKNavigationAction(request))) {
        opened->load(request);
    }
}

void WKWebView::show(std::optional<URL> url, Data content)
{
    url_ = std::move(url);
    content_ = std::move(content);
    setNeedsDisplay();
}
