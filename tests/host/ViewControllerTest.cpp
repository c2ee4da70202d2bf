#include "../support/GainAudioUnit.h"
#include "../support/TemporaryFolder.h"

#include "Console.h"
#include "HelpViewController.h"
#include "RunLoop.h"
#include "UIAlertController.h"
#include "UIDocumentPickerViewController.h"
#include "UIStoryboardSegue.h"
#include "ViewController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// The main screen of a test program whose bundle holds no plug-in and no
// resources: its locator finds nothing, on its own thread, at a time of its
// choosing.
class ViewControllerTest : public ::testing::Test {
protected:
    // Waits for the locator's search to end, so that its line does not land
    // in a test's own capture.
    ViewControllerTest()
    {
        screen->view();
        EXPECT_TRUE(pumpUntilPrinted("ERROR: There were no audio units found."));
    }

    // What was printed, without the locator's own lines.
    std::vector<std::string> screenLines() const
    {
        auto lines = capture.lines();
        std::erase_if(lines, [](const std::string& line) {
            return line.starts_with("NOTE: WE ARE") || line == "ERROR: There were no audio units found.";
        });
        return lines;
    }
    bool printed(const std::string& line) const
    {
        const auto lines = capture.lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // Pumps the main run loop until `line` is printed or five seconds have passed.
    bool pumpUntilPrinted(const std::string& line) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!printed(line) && std::chrono::steady_clock::now() < deadline) {
            RunLoop::main().runPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return printed(line);
    }
    void press(const std::shared_ptr<UIButton>& button) const { button->sendActions(UIControlEvents::touchUpInside); }

    TemporaryFolder home;
    ScopedEnvironment data{"XDG_DATA_HOME", home.path().string()};
    Console::Capture capture;
    std::shared_ptr<ViewController> screen = std::make_shared<ViewController>();
};

} // namespace

TEST_F(ViewControllerTest, StartsStoppedWithTheEffectHiddenAndFollowsThePlayer)
{
    const auto lines = screenLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Info: Main view controller loaded.");
    EXPECT_EQ(lines[1], "ViewController: The app's documents path is: " + screen->documentsPath());
    EXPECT_TRUE(screen->documentsPath().starts_with(home.path().string()));
    EXPECT_EQ(lines[2], "ViewController: Resources folder is nil.");
    EXPECT_FALSE(screen->playButton()->isHidden());
    EXPECT_TRUE(screen->stopButton()->isHidden());
    EXPECT_TRUE(screen->pluginView()->isHidden());

    press(screen->buttonUnit());
    EXPECT_FALSE(screen->pluginView()->isHidden());
    press(screen->buttonUnit());
    EXPECT_TRUE(screen->pluginView()->isHidden());
    press(screen->playButton());
    screen->audioUnitManager()->auEngine()->waitForPendingWork();
    RunLoop::main().runPending();
    EXPECT_TRUE(screen->stopButton()->isHidden()) << "the bundle has no sound to play";

    for (const bool playing : {true, true, false}) {
        screen->onPlayerStateChanged(playing);
        EXPECT_EQ(screen->playButton()->isHidden(), playing);
        EXPECT_EQ(screen->stopButton()->isHidden(), !playing);
    }
}

TEST_F(ViewControllerTest, LaysTheEffectOutAtFourToThree)
{
    const auto effect = std::make_shared<UIViewController>();
    screen->centerPluginView();
    EXPECT_TRUE(printed("WARNING: Cannot reset the pluginview (yet)."));
    screen->setAudioUnitViewController(effect);

    const struct {
        double w, h;
        CGRect container;
    } cases[] = {
        {800, 600, CGRect(0, 0, 800, 600)},
        {600, 800, CGRect(300 - 1066.6666666666667 / 2, 0, 1066.6666666666667, 800)},
        {600, 600, CGRect(0, 75, 600, 450)},
    };
    for (const auto& layout : cases) {
        screen->view()->setFrame(CGRect(0, 0, layout.w, layout.h));
        screen->centerPluginView();
        EXPECT_EQ(screen->pluginView()->frame(), layout.container) << layout.w << " x " << layout.h;
        EXPECT_EQ(effect->view()->frame(), CGRect(0, 0, layout.container.width(), layout.container.height()));
    }
}

TEST_F(ViewControllerTest, HandsTheHelpSeguesTheirIdentifier)
{
    press(screen->buttonInfo());
    const auto info = std::dynamic_pointer_cast<HelpViewController>(screen->presentedViewController());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->webView()->failedURL(), URL::string(HelpViewController::kInformationAddress));
    info->onButtonExit({});
    EXPECT_FALSE(screen->presentedViewController());

    press(screen->buttonHelp());
    const auto help = std::dynamic_pointer_cast<HelpViewController>(screen->presentedViewController());
    ASSERT_TRUE(help);
    EXPECT_NE(help, info);
    EXPECT_FALSE(help->webView()->failedURL());
    screen->dismiss(true);
    const auto lines = screenLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ShowInfo"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ShowHelp"), 1);

    const Console::Capture others;
    screen->performSegue(std::make_shared<UIStoryboardSegue>("Other", screen, std::make_shared<UIViewController>()),
                         {});
    screen->dismiss(true);
    screen->performSegue(
        std::make_shared<UIStoryboardSegue>(std::nullopt, screen, std::make_shared<UIViewController>()), {});
    EXPECT_EQ(others.lines(), std::vector<std::string>{"Other"});
}

TEST_F(ViewControllerTest, AFoundComponentWithoutUnitOrInterfaceIsReportedAndNothingEmbedded)
{
    screen->onFoundComponent(nullptr);
    auto lines = screenLines();
    EXPECT_EQ(std::vector(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"ViewController: Loading the audio unit's interface...",
                                        "ERROR: The audio unit is not initialized to load the user interface."}));

    // A unit that no plug-in instance made has no view controller to give.
    const auto unit = std::make_shared<AVAudioUnit>(std::make_shared<GainAudioUnit>());
    screen->onFoundComponent(unit);
    EXPECT_TRUE(pumpUntilPrinted("ERROR: Something is wrong with the view controller and view of the audio unit."));
    EXPECT_TRUE(screen->children().empty());

    screen->onFoundComponent(unit);
    screen.reset();
    EXPECT_TRUE(pumpUntilPrinted("ERROR: Self is nil !?"));
}

TEST_F(ViewControllerTest, PicksAFolderAndAsksWithATwoAnswerAlert)
{
    screen->openFilePicker();
    auto picker = std::dynamic_pointer_cast<UIDocumentPickerViewController>(screen->presentedViewController());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->documentTypes(), std::vector<std::string>{"public.folder"});
    EXPECT_EQ(picker->documentPickerMode(), UIDocumentPickerMode::open);
    const Console::Capture picked;
    picker->pick({URL::fileURL("/music/a b"), URL::fileURL("/music/c")});
    screen->openFilePicker();
    std::dynamic_pointer_cast<UIDocumentPickerViewController>(screen->presentedViewController())->pick({});
    screen->openFilePicker();
    std::dynamic_pointer_cast<UIDocumentPickerViewController>(screen->presentedViewController())->cancel();
    EXPECT_EQ(picked.lines(), (std::vector<std::string>{"documentPicker: [file:///music/a%20b]",
                                                        "documentPicker (didPickDocumentsAt): /music/a b",
                                                        "documentPicker: []", "The document picker was canceled."}));

    const Console::Capture asked;
    screen->alertMessage("Title", "Message");
    const auto alert = std::dynamic_pointer_cast<UIAlertController>(screen->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->preferredStyle(), UIAlertControllerStyle::alert);
    alert->choose(1);
    EXPECT_EQ(asked.lines(), (std::vector<std::string>{"Title: Message", "Alert was canceled."}));
}
