#include "../support/TemporaryFolder.h"

#include "Console.h"
#include "HelpViewController.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class HelpViewControllerTest : public ::testing::Test {
protected:
    HelpViewControllerTest()
    {
        std::filesystem::create_directories(folder.path() / "Resources");
        std::ofstream(folder.path() / "Resources" / "manual.pdf") << "%PDF-1.4 manual";
    }

    // A help screen with its view loaded, not yet shown.
    std::shared_ptr<HelpViewController> makeHelp() const
    {
        auto help = std::make_shared<HelpViewController>(*Bundle::withPath(folder.path()));
        help->view();
        return help;
    }
    URL manualURL() const { return URL::fileURL(folder.path() / "Resources" / "manual.pdf"); }

    // Presents `help` the way a segue does and returns what it printed.
    std::vector<std::string> show(const std::shared_ptr<HelpViewController>& help)
    {
        const Console::Capture capture;
        presenter->present(help, true, {});
        return capture.lines();
    }

    TemporaryFolder folder;
    std::shared_ptr<UIViewController> presenter = std::make_shared<UIViewController>();
};

template <class Policy> std::vector<Policy> answers(HelpViewController& help, WKWebView& view, const auto& subject)
{
    std::vector<Policy> given;
    const Console::Capture capture;
    help.webView(view, subject, [&](Policy policy) { given.push_back(policy); });
    return given;
}

} // namespace

TEST_F(HelpViewControllerTest, ShowsTheManualOrTheInformationPageOnEachAppearance)
{
    auto help = makeHelp();
    EXPECT_EQ(show(help), (std::vector<std::string>{"navigationAction: ", manualURL().absoluteString(),
                                                    "navigationResponse: ", manualURL().absoluteString()}));
    EXPECT_EQ(help->webView()->url(), manualURL());
    EXPECT_EQ(std::string(help->webView()->content().begin(), help->webView()->content().end()), "%PDF-1.4 manual");

    help->buttonExit()->sendActions(UIControlEvents::touchUpInside);
    EXPECT_FALSE(presenter->presentedViewController());

    help = makeHelp();
    help->prepareInfo("ShowInfo");
    EXPECT_EQ(show(help), (std::vector<std::string>{"navigationAction: ", HelpViewController::kInformationAddress}));
    EXPECT_EQ(help->webView()->failedURL(), URL::string(HelpViewController::kInformationAddress));
    presenter->dismiss(true);

    help = makeHelp();
    help->prepareInfo("Elsewhere");
    EXPECT_TRUE(show(help).empty());
    EXPECT_FALSE(help->webView()->url());
}

TEST_F(HelpViewControllerTest, AMissingManualIsReportedAndNothingLoads)
{
    std::filesystem::remove(folder.path() / "Resources" / "manual.pdf");
    const auto help = makeHelp();
    EXPECT_EQ(show(help),
              (std::vector<std::string>{"HelpViewController: ERROR: The manual (manual.pdf) is missing from the bundle."}));
    EXPECT_FALSE(help->webView()->url());
}

TEST_F(HelpViewControllerTest, ShowsOnlyResponsesWithoutExtensionOrWithPDFOrHTML)
{
    const auto help = makeHelp();
    auto& view = *help->webView();
    using Policy = WKNavigationResponsePolicy;
    for (const char* shown : {"file:///b/manual.pdf", "https://h/MANUAL.PDF", "https://h/page.Html?x=1.png",
                              "https://h/dir.d/", "https://h/readme"}) {
        EXPECT_EQ(answers<Policy>(*help, view, WKNavigationResponse(URL::string(shown), "")),
                  std::vector{Policy::allow})
            << shown;
    }
    for (const char* refused : {"https://h/page.htm", "https://h/index.php", "https://h/image.png"}) {
        EXPECT_EQ(answers<Policy>(*help, view, WKNavigationResponse(URL::string(refused), "")),
                  std::vector{Policy::cancel})
            << refused;
    }
    EXPECT_EQ(answers<Policy>(*help, view, WKNavigationResponse(std::nullopt, "")), std::vector{Policy::cancel});
}

TEST_F(HelpViewControllerTest, AllowsEveryNavigationWithAURLAndOpensNoNewWindow)
{
    const auto help = makeHelp();
    auto& view = *help->webView();
    using Policy = WKNavigationActionPolicy;
    for (const char* url : {"mailto:someone", "https://h/x.png", "ftp://h/x"}) {
        EXPECT_EQ(answers<Policy>(*help, view, WKNavigationAction(URLRequest(URL::string(url)))),
                  std::vector{Policy::allow});
    }
    EXPECT_EQ(answers<Policy>(*help, view, WKNavigationAction(URLRequest(std::nullopt))), std::vector{Policy::cancel});

    show(help);
    const Console::Capture capture;
    view.openInNewWindow(URLRequest(URL::string("https://h/popup.html")));
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"createWebViewWith:", "https://h/popup.html"}));
    EXPECT_EQ(view.url(), manualURL());
}

TEST_F(HelpViewControllerTest, TheWebViewFillsWhateverSizeTheScreenIsGivenBelowTheExitButtonRow)
{
    const auto help = makeHelp();
    help->view()->setFrame(CGRect(0, 0, 1024, 768));
    help->view()->layoutIfNeeded();
    EXPECT_EQ(help->webView()->frame(), CGRect(0, 44, 1024, 724));
}

// The help screen over the application bundle that the build lays out: the
// manual it shows is the typeset PDF, and the help page links to it.
TEST(HelpViewControllerBundleTest, ShowsTheBundledManualAndTheHelpPageLinksToIt)
{
    const std::filesystem::path resources = VELMORA_BUNDLE_RESOURCES;
    const auto help = std::make_shared<HelpViewController>(*Bundle::withPath(resources.parent_path()));
    help->view();
    const auto presenter = std::make_shared<UIViewController>();
    {
        const Console::Capture quiet;
        presenter->present(help, true, {});
    }
    const auto& view = *help->webView();
    const auto shown = [&] { return std::string(view.content().begin(), view.content().end()); };
    EXPECT_EQ(view.url(), URL::fileURL(resources / "manual.pdf"));
    EXPECT_EQ(shown().rfind("%PDF-", 0), 0u);

    const Console::Capture quiet;
    help->webView()->load(URLRequest(URL::fileURL(resources / "help.html")));
    ASSERT_EQ(view.url(), URL::fileURL(resources / "help.html"));
    EXPECT_NE(shown().find("<a href=\"manual.pdf\">"), std::string::npos);
    // Following the link: it resolves next to the page.
    help->webView()->load(URLRequest(URL::fileURL(std::filesystem::path(view.url()->path()).parent_path() / "manual.pdf")));
    EXPECT_EQ(shown().rfind("%PDF-", 0), 0u);
}
