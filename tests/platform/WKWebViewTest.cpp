#include "WKWebView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

class RecordingEngine : public WKWebViewEngine {
public:
    std::vector<std::string> loads;
    void load(const URLRequest& request) override { loads.push_back(request.url()->absoluteString()); }
    void loadHTMLString(const std::string& html, const std::optional<URL>&) override { loads.push_back(html); }
};

// Keeps its decision handlers so that a test answers them later, as a
// delegate that asks the user would.
class DeferringDelegate : public WKNavigationDelegate {
public:
    std::function<void(WKNavigationActionPolicy)> pending;
    void webView(WKWebView&, const WKNavigationAction&,
                 const std::function<void(WKNavigationActionPolicy)>& decisionHandler) override
    {
        pending = decisionHandler;
    }
};

} // namespace

TEST(WKWebView, AnEngineTakesOverTheLoadsAndTheHeadlessCoreShowsNothing)
{
    WKWebView view;
    const auto engine = std::make_shared<RecordingEngine>();
    view.setEngine(engine);
    view.load(URLRequest(URL::fileURL("/nowhere/manual.pdf")));
    view.loadHTMLString("<p>help</p>", std::nullopt);
    EXPECT_THAT(engine->loads, ElementsAre("file:///nowhere/manual.pdf", "<p>help</p>"));
    EXPECT_FALSE(view.url());
    EXPECT_FALSE(view.failedURL());
}

TEST(WKWebView, EnginesHearTheDelegatesFirstAnswerWhenItComesAndAllowWithoutADelegate)
{
    WKWebView view;
    std::vector<bool> answers;
    const auto record = [&](bool allowed) { answers.push_back(allowed); };
    const WKNavigationAction action(URLRequest(URL::fileURL("/help.html")));
    view.decidePolicy(action, record);
    EXPECT_THAT(answers, ElementsAre(true));

    const auto delegate = std::make_shared<DeferringDelegate>();
    view.navigationDelegate = delegate;
    view.decidePolicy(action, record);
    EXPECT_THAT(answers, ElementsAre(true));
    delegate->pending(WKNavigationActionPolicy::cancel);
    delegate->pending(WKNavigationActionPolicy::allow);
    EXPECT_THAT(answers, ElementsAre(true, false));
}
