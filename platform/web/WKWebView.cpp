#include "WKWebView.h"

#include <cctype>
#include <fstream>
#include <iterator>

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

// Keeps the first answer of a decision handler; a handler left unanswered
// leaves the navigation undecided, and so not shown.
template <class Policy> class Decision {
public:
    std::function<void(Policy)> handler()
    {
        return [this](Policy policy) {
            if (!answer_) {
                answer_ = policy;
            }
        };
    }
    bool allowed() const { return answer_ == Policy::allow; }

private:
    std::optional<Policy> answer_;
};

} // namespace

bool WKWebView::actionAllowed(const WKNavigationAction& action)
{
    const auto delegate = navigationDelegate.lock();
    if (!delegate) {
        return true;
    }
    Decision<WKNavigationActionPolicy> decision;
    delegate->webView(*this, action, decision.handler());
    return decision.allowed();
}

bool WKWebView::responseAllowed(const WKNavigationResponse& response)
{
    const auto delegate = navigationDelegate.lock();
    if (!delegate) {
        return true;
    }
    Decision<WKNavigationResponsePolicy> decision;
    delegate->webView(*this, response, decision.handler());
    return decision.allowed();
}

void WKWebView::load(const URLRequest& request)
{
    if (!actionAllowed(WKNavigationAction(request)) || !request.url()) {
        return;
    }
    const auto& url = *request.url();
    auto content = readFile(url);
    if (!content) {
        failedURL_ = url;
        return;
    }
    if (responseAllowed(WKNavigationResponse(url, mimeTypeOf(url)))) {
        show(url, std::move(*content));
    }
}

void WKWebView::loadHTMLString(const std::string& html, const std::optional<URL>& baseURL)
{
    show(baseURL, Data(html.begin(), html.end()));
}

void WKWebView::openInNewWindow(const URLRequest& request)
{
    const auto delegate = uiDelegate.lock();
    if (!delegate) {
        return;
    }
    const auto opened = delegate->webView(*this, WKWebViewConfiguration{}, WKNavigationAction(request),
                                          WKWindowFeatures{});
    if (opened) {
        opened->load(request);
    }
}

void WKWebView::show(std::optional<URL> url, Data content)
{
    url_ = std::move(url);
    content_ = std::move(content);
    setNeedsDisplay();
}
