#include "AUViewController.h"
#include "Console.h"
#include "UIApplication.h"
#include "UIStoryboardSegue.h"
#include "UIView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

class RecordingController : public AUViewController {
public:
    std::vector<std::string> calls;
    bool makesView = true;

protected:
    void loadView() override
    {
        calls.push_back("loadView");
        if (makesView) {
            setView(std::make_shared<UIView>(CGRect(0, 0, 600, 660)));
        }
    }
    void viewDidLoad() override
    {
        AUViewController::viewDidLoad();
        calls.push_back("viewDidLoad " + std::to_string(view()->bounds().width()));
    }
    void viewDidLayoutSubviews() override
    {
        calls.push_back("viewDidLayoutSubviews " + std::to_string(view()->subviews().front()->frame().width()));
        view()->subviews().front()->setFrame(CGRect(0, 0, view()->bounds().width() / 2, 10));
    }
};

class CountingView : public UIView {
public:
    explicit CountingView(std::vector<std::string>& calls) : calls_(calls) {}
    void layoutSubviews() override { calls_.push_back("layoutSubviews " + std::to_string(frame().width())); }

private:
    std::vector<std::string>& calls_;
};

} // namespace

TEST(UIViewController, LoadsItsViewOnceOnFirstUse)
{
    const auto controller = std::make_shared<RecordingController>();
    EXPECT_FALSE(controller->isViewLoaded());
    const auto view = controller->view();
    EXPECT_TRUE(controller->isViewLoaded());
    EXPECT_EQ(controller->view(), view);
    EXPECT_THAT(controller->calls, ElementsAre("loadView", "viewDidLoad 600.000000"));

    // A loading that makes no view leaves a plain one.
    const auto bare = std::make_shared<RecordingController>();
    bare->makesView = false;
    EXPECT_TRUE(bare->view());
    EXPECT_THAT(bare->calls, ElementsAre("loadView", "viewDidLoad 0.000000"));
}

TEST(UIViewController, HearsOfEachLayoutOfItsRootViewBeforeTheSubviewsLayOut)
{
    const auto controller = std::make_shared<RecordingController>();
    const auto root = controller->view();
    const auto child = std::make_shared<CountingView>(controller->calls);
    child->setFrame(CGRect(0, 0, 50, 50));
    root->addSubview(child);
    controller->calls.clear();
    root->layoutIfNeeded();
    // The subview lays itself out at the size the controller gave it.
    EXPECT_THAT(controller->calls, ElementsAre("viewDidLayoutSubviews 50.000000", "layoutSubviews 300.000000"));
    root->layoutIfNeeded();
    EXPECT_EQ(controller->calls.size(), 2u);
}

TEST(UIViewController, PresentsOneControllerAtATimeAndOwnsIt)
{
    Console::Capture capture;
    const auto presenter = std::make_shared<RecordingController>();
    auto shown = std::make_shared<RecordingController>();
    int completions = 0;
    presenter->present(shown, true, [&] { ++completions; });
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(shown->isViewLoaded());
    EXPECT_EQ(presenter->presentedViewController(), shown);
    EXPECT_EQ(shown->presentingViewController(), presenter);

    // A second one is refused and its completion never runs.
    const auto second = std::make_shared<RecordingController>();
    presenter->present(second, true, [&] { ++completions; });
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(second->presentingViewController());
    EXPECT_THAT(capture.lines(), ElementsAre("UIViewController::WARNING: A view controller is presented only "
                                             "where none is presented yet; it is not shown."));

    // The presented one may dismiss itself; its presenter lets it go.
    const std::weak_ptr<UIViewController> weakShown = shown;
    shown->dismiss(true, [&] { ++completions; });
    shown.reset();
    EXPECT_EQ(completions, 2);
    EXPECT_TRUE(weakShown.expired());
}

namespace {

// Writes its life into a log that its maker keeps.
class LoggingController : public UIViewController {
public:
    LoggingController(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}

    void willMove(const std::shared_ptr<UIViewController>& parent) override
    {
        log_.push_back(name_ + " willMove " + (parent ? "in" : "out"));
    }
    void didMove(const std::shared_ptr<UIViewController>&) override { log_.push_back(name_ + " didMove"); }

protected:
    void viewDidLoad() override { log_.push_back(name_ + " viewDidLoad"); }
    void viewWillAppear(bool animated) override { log_.push_back(name_ + " viewWillAppear " + std::to_string(animated)); }
    void prepare(UIStoryboardSegue& segue, const std::any&) override
    {
        log_.push_back(name_ + " prepare " + segue.identifier().value_or("?"));
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

} // namespace

TEST(UIViewController, SeguesByIdentifierMakeANewDestinationEachTime)
{
    std::vector<std::string> log;
    int made = 0;
    const auto source = std::make_shared<LoggingController>(log, "source");
    source->addSegue("ShowHelp", [&] {
        return std::make_shared<LoggingController>(log, "help" + std::to_string(++made));
    });
    source->performSegue("ShowHelp", {});
    const auto first = source->presentedViewController();
    source->dismiss(true);
    source->performSegue("ShowHelp", {});
    source->performSegue("Unknown", {});
    EXPECT_NE(source->presentedViewController(), first);
    EXPECT_THAT(log, ElementsAre("source prepare ShowHelp", "help1 viewDidLoad", "help1 viewWillAppear 1",
                                 "source prepare ShowHelp", "help2 viewDidLoad", "help2 viewWillAppear 1"));
}

TEST(UIViewController, TakesChildrenOnceAndTellsThemTheyMove)
{
    std::vector<std::string> log;
    const auto parent = std::make_shared<LoggingController>(log, "parent");
    const auto child = std::make_shared<LoggingController>(log, "child");
    parent->addChild(child);
    parent->addChild(child);
    child->didMove(parent);
    EXPECT_EQ(parent->children(), std::vector<std::shared_ptr<UIViewController>>{child});
    EXPECT_EQ(child->parent(), parent);
    EXPECT_THAT(log, ElementsAre("child willMove in", "child didMove"));
}

namespace {

// Stands where the application shell would: it hears of each presentation
// before the presented controller loads its content.
class RecordingHost : public UIPresentationHost {
public:
    explicit RecordingHost(std::vector<std::string>& log) : log_(log) {}
    void willPresent(const std::shared_ptr<UIViewController>& controller) override
    {
        log_.push_back(std::string("host willPresent, view loaded ") + (controller->isViewLoaded() ? "yes" : "no"));
    }
    void didDismiss(const std::shared_ptr<UIViewController>& controller) override
    {
        log_.push_back(std::string("host didDismiss, still presented ") +
                       (controller->presentingViewController() ? "yes" : "no"));
    }

private:
    std::vector<std::string>& log_;
};

} // namespace

TEST(UIViewController, TheShellHearsOfAPresentationBeforeTheControllerAppearsAndOfItsDismissal)
{
    std::vector<std::string> log;
    RecordingHost host(log);
    UIApplication::shared().setPresentationHost(&host);
    const auto presenter = std::make_shared<LoggingController>(log, "main");
    presenter->present(std::make_shared<LoggingController>(log, "help"), false, [&] { log.push_back("shown"); });
    presenter->dismiss(false, [&] { log.push_back("gone"); });
    UIApplication::shared().setPresentationHost(nullptr);

    EXPECT_THAT(log, ElementsAre("help viewDidLoad", "host willPresent, view loaded yes", "help viewWillAppear 0",
                                 "shown", "host didDismiss, still presented no", "gone"));
}

// What a dismissed screen presented goes with it: an alert left presented by
// a screen that is gone could never be answered.
TEST(UIViewController, DismissingAScreenDismissesWhatItPresented)
{
    const auto main = std::make_shared<UIViewController>();
    const auto help = std::make_shared<UIViewController>();
    const auto alert = std::make_shared<UIViewController>();
    main->present(help, false, {});
    help->present(alert, false, {});
    main->dismiss(false, {});
    EXPECT_FALSE(help->presentedViewController());
    EXPECT_FALSE(alert->presentingViewController());
}
