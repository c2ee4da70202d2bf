#include "Animator.h"
#include "ControllerFixture.h"
#include "FileManager.h"
#include "UIAlertAction.h"
#include "UIAlertController.h"
#include "UIDocumentPickerViewController.h"
#include "UILabel.h"
#include "UIStoryboardSegue.h"
#include "UITextField.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using ::testing::ElementsAre;

namespace {

class Dialogs : public ControllerFixture {
protected:
    void SetUp() override { controller->view(); }

    template <class Presented> std::shared_ptr<Presented> presented() const
    {
        return std::dynamic_pointer_cast<Presented>(controller->presentedViewController());
    }

    // The file-name dialog on screen, answered with `name` and "OK".
    void answerFileName(const std::string& name)
    {
        const auto dialog = presented<UIAlertController>();
        ASSERT_TRUE(dialog);
        dialog->textFields().front()->setText(name);
        dialog->choose(0);
    }

    static std::filesystem::path documents()
    {
        return FileManager::default_()
            .urls(SearchPathDirectory::documentDirectory, SearchPathDomainMask::userDomainMask)
            .front()
            .path();
    }

    static URL file(const std::string& name) { return URL::fileURL(documents() / name); }
};

// The overlay's alpha after a fade's frame, from its curve.
double fadedIn(int frame)
{
    return 1 - std::exp2(-10.0 * frame / 320);
}

double fadedOut(double from, int frame)
{
    return from - from * std::exp2(10.0 * (frame / 120.0 - 1));
}

} // namespace

TEST_F(Dialogs, TheOverlayGrowsInOver321TicksAndShrinksAwayOver121)
{
    const auto info = controller->infoView();
    const auto message = controller->infoMessage();
    const auto animators = Animator::classCount();
    const auto tick = [&](int count = 1) {
        for (int i = 0; i < count; ++i) {
            clock.advance(static_cast<double>(0.009f));
        }
    };
    const auto expectShownAt = [&](double alpha) {
        EXPECT_NEAR(info->alpha(), alpha, 2e-6);
        EXPECT_NEAR(info->transform().a, alpha, 2e-6);
        EXPECT_EQ(info->transform().d, info->transform().a);
        EXPECT_FALSE(info->isHidden());
        EXPECT_EQ(message->text(), "Preset loaded");
    };

    info->setAlpha(0.5);
    controller->showInfo("Preset loaded");
    EXPECT_EQ(info->alpha(), 0);
    EXPECT_FALSE(info->isHidden());
    tick();
    // The first tick reports where the fade starts: nothing at all.
    expectShownAt(0);
    EXPECT_EQ(info->transform(), CGAffineTransform::scale(0, 0));
    tick();
    expectShownAt(fadedIn(1));
    tick(318);
    expectShownAt(fadedIn(319));
    EXPECT_EQ(Animator::classCount(), animators + 1);
    // Tick 321 ends the fade-in at 0.999 and starts the fade-out, whose
    // first tick reports its start.
    tick(2);
    expectShownAt(fadedIn(319));
    tick();
    const double top = fadedIn(319);
    expectShownAt(fadedOut(top, 1));
    tick(118);
    expectShownAt(fadedOut(top, 119));
    EXPECT_NEAR(info->alpha(), 0.0561, 1e-4);

    tick();
    EXPECT_TRUE(info->isHidden());
    EXPECT_EQ(message->text(), "");
    EXPECT_NEAR(info->alpha(), fadedOut(top, 119), 2e-6);
    EXPECT_NEAR(clock.elapsed(), 3.978, 1e-9);
    EXPECT_EQ(Animator::classCount(), animators);
    tick(10);
    EXPECT_NEAR(info->alpha(), fadedOut(top, 119), 2e-6);
}

TEST_F(Dialogs, AFadingOverlayDoesNotKeepAClosedPlugInAlive)
{
    const std::weak_ptr<AudioUnitViewController> weakController = controller;
    const auto info = controller->infoView();
    controller->showInfo("Closing");
    clock.advance(0.5);
    controller.reset();
    EXPECT_TRUE(weakController.expired());
    clock.advance(4);
    EXPECT_FALSE(info->isHidden());
}

TEST_F(Dialogs, TheFileNameDialogAsksAgainWhileTheNameExistsInDocuments)
{
    const Console::Capture printed;
    std::ofstream(documents() / "taken.velmora") << "x";
    std::ofstream(documents() / "also taken") << "x";
    controller->alertFileName("preset", "taken.velmora");
    auto dialog = presented<UIAlertController>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->title(), "File name");
    EXPECT_EQ(dialog->message(), "Please enter the file name for the current file: ");
    EXPECT_EQ(dialog->preferredStyle(), UIAlertControllerStyle::alert);
    EXPECT_EQ(dialog->textFields().front()->placeholder(), "file name");
    EXPECT_EQ(dialog->textFields().front()->text(), "taken.velmora");
    EXPECT_EQ(dialog->actions()[1]->style(), UIAlertActionStyle::cancel);

    // An empty field means the default name, which exists.
    answerFileName("");
    dialog = presented<UIAlertController>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->message(), "The file already exists. Please type in another file name: ");
    EXPECT_EQ(dialog->textFields().front()->text(), "taken.velmora");
    answerFileName("also taken");
    ASSERT_TRUE(presented<UIAlertController>());
    EXPECT_EQ(presented<UIAlertController>()->textFields().front()->text(), "also taken");

    // A free name closes the dialog and writes nothing.
    answerFileName("free.velmora");
    EXPECT_FALSE(controller->presentedViewController());
    EXPECT_FALSE(std::filesystem::exists(documents() / "free.velmora"));
    EXPECT_TRUE(printed.lines().empty());

    controller->alertFileName("preset", "new");
    presented<UIAlertController>()->choose(1);
    EXPECT_FALSE(controller->presentedViewController());
    EXPECT_THAT(printed.lines(), ElementsAre("Save action was canceled."));
}

TEST_F(Dialogs, ThePickerImportsAnyDataOneOrManyFilesAndPrintsThePicks)
{
    const Console::Capture printed;
    controller->setReasonForImport("presets");
    controller->openFilePicker();
    auto picker = presented<UIDocumentPickerViewController>();
    ASSERT_TRUE(picker);
    EXPECT_THAT(picker->documentTypes(), ElementsAre("public.data"));
    EXPECT_EQ(picker->documentPickerMode(), UIDocumentPickerMode::import);
    EXPECT_TRUE(picker->allowsMultipleSelection());
    EXPECT_EQ(picker->delegate(), std::static_pointer_cast<UIDocumentPickerDelegate>(controller));
    const URL first = file("a.velmora");
    const URL second = file("b c.velmora");
    picker->pick({first, second});
    EXPECT_FALSE(controller->presentedViewController());

    controller->openFilePicker();
    presented<UIDocumentPickerViewController>()->pick({first});
    // The older single-document form prints the document, then the list.
    controller->documentPicker(*picker, first);
    controller->openFilePicker();
    presented<UIDocumentPickerViewController>()->cancel();
    EXPECT_THAT(printed.lines(),
                ElementsAre("documentPicker: [" + first.absoluteString() + ", " + second.absoluteString() + "]",
                            "documentPicker: [" + first.absoluteString() + "]",
                            "documentPicker: " + first.absoluteString(),
                            "documentPicker: [" + first.absoluteString() + "]",
                            "The document picker was canceled."));
    EXPECT_EQ(controller->reasonForImport(), "presets");
}

TEST_F(Dialogs, AlertsPrintTheirAnswersAndCompleteOnceShown)
{
    const Console::Capture printed;
    std::vector<std::string> heard;
    controller->alert("Caption", "Message", [&] { heard.push_back("shown"); });
    EXPECT_THAT(heard, ElementsAre("shown"));
    presented<UIAlertController>()->choose(0);
    controller->alertQuestion("Load", "Load the preset?", {});
    EXPECT_EQ(presented<UIAlertController>()->actions()[1]->style(), UIAlertActionStyle::cancel);
    presented<UIAlertController>()->choose(0);
    controller->alertQuestion("Load", "Load the preset?", {});
    presented<UIAlertController>()->choose(1);
    EXPECT_THAT(printed.lines(),
                ElementsAre("Alert: Caption : Message", "Alert was accepted.", "Alert: Load : Load the preset?",
                            "Answer was YES.", "Alert: Load : Load the preset?", "Answer was NO."));
}

TEST_F(Dialogs, ASeguePrintsItsIdentifierIfItHasOne)
{
    const Console::Capture printed;
    const auto files = std::make_shared<UIViewController>();
    controller->performSegue(std::make_shared<UIStoryboardSegue>("showFiles", controller, files), {});
    files->dismiss(false);
    controller->performSegue(std::make_shared<UIStoryboardSegue>(std::nullopt, controller, files), {});
    EXPECT_THAT(printed.lines(), ElementsAre("showFiles"));
    EXPECT_EQ(controller->presentedViewController(), files);
}
