#pragma once

#include "Bundle.h"
#include "UIButton.h"
#include "UIViewController.h"
#include "WKNavigationDelegate.h"
#include "WKUIDelegate.h"
#include "WKWebView.h"

#include <any>
#include <memory>
#include <string>

// The host's second screen: the effect's manual or the information page in a
// web view, and an exit button. Every navigation with a URL may start; only
// responses without an extension or with a PDF or HTML one are shown; no page
// opens a new window.
class HelpViewController : public UIViewController, public WKUIDelegate, public WKNavigationDelegate {
public:
    static constexpr const char* kInformationAddress = "https://www.example.com/zuv-velmora-quillmere/";
    // The height of the row that holds the exit button above the web view.
    static constexpr double kButtonRowHeight = 44.0;

    // Shows the manual of `bundle`.
    explicit HelpViewController(Bundle bundle = Bundle::main());

    // Which content to show when the screen is about to appear: "ShowHelp"
    // (the manual) or "ShowInfo" (the information page).
    void prepareInfo(const std::string& which);
    void onButtonExit(const std::any& sender);

    const std::shared_ptr<WKWebView>& webView() const { return webView_; }
    const std::shared_ptr<UIButton>& buttonExit() const { return buttonExit_; }

    void webView(WKWebView& webView, const WKNavigationAction& action,
                 const std::function<void(WKNavigationActionPolicy)>& decisionHandler) override;
    void webView(WKWebView& webView, const WKNavigationResponse& response,
                 const std::function<void(WKNavigationResponsePolicy)>& decisionHandler) override;
    std::shared_ptr<WKWebView> webView(WKWebView& webView, const WKWebViewConfiguration& configuration,
                                       const WKNavigationAction& action, const WKWindowFeatures& features) override;

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

private:
    void loadHelpHtml();
    void loadHelpPdf();
    void navigateWeb();

    std::string identifier_ = "ShowHelp";
    Bundle bundle_;
    std::shared_ptr<WKWebView> webView_;
    std::shared_ptr<UIButton> buttonExit_;
};
