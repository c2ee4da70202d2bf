#include "HelpViewController.h"

#include "Console.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace {

std::string upperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char character) { return static_cast<char>(std::toupper(character)); });
    return text;
}

} // namespace

HelpViewController::HelpViewController(Bundle bundle) : bundle_(std::move(bundle)) {}

void HelpViewController::prepareInfo(const std::string& which)
{
    identifier_ = which;
}

void HelpViewController::onButtonExit(const std::any&)
{
    dismiss(true, [] {});
}

void HelpViewController::loadView()
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 800, 600));
    webView_ = std::make_shared<WKWebView>(CGRect(0, kButtonRowHeight, 800, 600 - kButtonRowHeight));
    buttonExit_ = std::make_shared<UIButton>(CGRect(8, 8, 80, 28));
    buttonExit_->setTitle("Exit");
    buttonExit_->addTarget([this](UIControl& sender) { onButtonExit(&sender); }, UIControlEvents::touchUpInside);
    root->addSubview(webView_);
    root->addSubview(buttonExit_);
    // The web view fills the screen below the exit button's row, whatever
    // size the window gives the screen.
    webView_->setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activate({webView_->topAnchor().constraint(root->topAnchor(), kButtonRowHeight),
                                  webView_->leadingAnchor().constraint(root->leadingAnchor()),
                                  webView_->bottomAnchor().constraint(root->bottomAnchor()),
                                  webView_->trailingAnchor().constraint(root->trailingAnchor())});
    setView(root);
}

void HelpViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    const auto self = shared_from_this();
    webView_->uiDelegate = std::dynamic_pointer_cast<WKUIDelegate>(self);
    webView_->navigationDelegate = std::dynamic_pointer_cast<WKNavigationDelegate>(self);
}

void HelpViewController::viewWillAppear(bool animated)
{
    UIViewController::viewWillAppear(animated);
    if (identifier_ == "ShowHelp") {
        loadHelpPdf();
    } else if (identifier_ == "ShowInfo") {
        navigateWeb();
    }
}

void HelpViewController::loadHelpPdf()
{
    const auto manual = bundle_.url("manual", "pdf");
    if (!manual) {
        Console::print("HelpViewController: ERROR: The manual (manual.pdf) is missing from the bundle.");
        return;
    }
    webView_->load(URLRequest(*manual));
}

void HelpViewController::navigateWeb()
{
    webView_->load(URLRequest(URL::string(kInformationAddress)));
}

void HelpViewController::loadHelpHtml()
{
    const auto page = bundle_.url("help", "html");
    if (!page) {
        Console::print("HelpViewController: ERROR: The help page (help.html) is missing from the bundle.");
        return;
    }
    std::ifstream stream(page->path(), std::ios::binary);
    if (!stream) {
        Console::print("The file \"help.html\" couldn't be opened.");
        return;
    }
    const std::string html((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    webView_->loadHTMLString(html, page);
}

void HelpViewController::webView(WKWebView&, const WKNavigationAction& action,
                                 const std::function<void(WKNavigationActionPolicy)>& decisionHandler)
{
    Console::print("navigationAction: ");
    const auto& url = action.request().url();
    if (!url) {
        decisionHandler(WKNavigationActionPolicy::cancel);
        return;
    }
    Console::print(url->absoluteString());
    decisionHandler(WKNavigationActionPolicy::allow);
}

void HelpViewController::webView(WKWebView&, const WKNavigationResponse& response,
                                 const std::function<void(WKNavigationResponsePolicy)>& decisionHandler)
{
    Console::print("navigationResponse: ");
    const auto& url = response.url();
    if (!url) {
        decisionHandler(WKNavigationResponsePolicy::cancel);
        return;
    }
    Console::print(url->absoluteString());
    const auto extension = upperCase(url->pathExtension());
    const bool shown = extension.empty() || extension == "PDF" || extension == "HTML";
    decisionHandler(shown ? WKNavigationResponsePolicy::allow : WKNavigationResponsePolicy::cancel);
}

std::shared_ptr<WKWebView> HelpViewController::webView(WKWebView&, const WKWebViewConfiguration&,
                                                       const WKNavigationAction& action, const WKWindowFeatures&)
{
    Console::print("createWebViewWith:");
    if (const auto& url = action.request().url()) {
        Console::print(url->absoluteString());
    }
    return nullptr;
}
