#include "ShellTestSupport.h"

#include "../support/TemporaryFolder.h"

#include "GtkApplicationShell.h"
#include "UIAlertAction.h"
#include "UIAlertController.h"
#include "UIDocumentPickerDelegate.h"
#include "UIDocumentPickerViewController.h"
#include "UITextField.h"
#include "UIWindow.h"

#include <gmock/gmock.h>

#include <fstream>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

class PickerLog : public UIDocumentPickerDelegate {
public:
    void documentPicker(UIDocumentPickerViewController&, const std::vector<URL>& urls) override
    {
        heard.push_back("picked " + std::to_string(urls.size()));
    }
    void documentPickerWasCancelled(UIDocumentPickerViewController&) override { heard.push_back("cancelled"); }

    std::vector<std::string> heard;
};

// A shell showing a plain screen that presents dialogs.
class ShellDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gtkReady());
        window->setRootViewController(screen);
        shell = std::make_unique<GtkApplicationShell>(window, "Dialogs");
        shell->show();
    }

    std::shared_ptr<UIAlertController> alertWithAnswers(bool withCancel)
    {
        auto alert = std::make_shared<UIAlertController>("Save preset", "Name it.", UIAlertControllerStyle::alert);
        alert->addTextField([](UITextField& field) { field.setPlaceholder("Name"); });
        const auto* shown = alert.get();
        alert->addAction(std::make_shared<UIAlertAction>(
            "OK", UIAlertActionStyle::default_,
            [this, shown](UIAlertAction&) { answers.push_back("OK " + shown->textFields().front()->text()); }));
        if (withCancel) {
            alert->addAction(std::make_shared<UIAlertAction>("Cancel", UIAlertActionStyle::cancel,
                                                             [this](UIAlertAction&) { answers.push_back("Cancel"); }));
        }
        return alert;
    }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRect(0, 0, 400, 300));
    std::shared_ptr<UIViewController> screen = std::make_shared<UIViewController>();
    std::unique_ptr<GtkApplicationShell> shell;
    std::vector<std::string> answers;
};

// The labels of the dialog's buttons, by response: the alert's actions'
// indices.
std::vector<std::string> buttonLabels(GtkWidget* dialog)
{
    std::vector<std::string> labels;
    for (gint response = 0;; ++response) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), response);
        if (button == nullptr) {
            return labels;
        }
        labels.emplace_back(gtk_button_get_label(GTK_BUTTON(button)));
    }
}

GtkEntry* firstEntry(GtkWidget* dialog)
{
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GList* children = gtk_container_get_children(GTK_CONTAINER(area));
    GtkEntry* entry = nullptr;
    for (GList* child = children; child != nullptr && entry == nullptr; child = child->next) {
        if (GTK_IS_ENTRY(child->data)) {
            entry = GTK_ENTRY(child->data);
        }
    }
    g_list_free(children);
    return entry;
}

} // namespace

TEST_F(ShellDialogs, AnAlertIsADialogWhoseButtonsAnswerItAndWhoseEntryFillsItsTextField)
{
    const auto alert = alertWithAnswers(true);
    screen->present(alert, true, {});
    GtkWidget* dialog = shell->presentationHost().dialogFor(*alert);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(dialog));
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), GTK_WINDOW(shell->window()));
    EXPECT_THAT(buttonLabels(dialog), ElementsAre("OK", "Cancel"));
    GtkEntry* entry = firstEntry(dialog);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(gtk_entry_get_placeholder_text(entry), "Name");

    gtk_entry_set_text(entry, "Warm pad");
    gtk_dialog_response(GTK_DIALOG(dialog), 0);
    EXPECT_THAT(answers, ElementsAre("OK Warm pad"));
    EXPECT_FALSE(screen->presentedViewController());
    EXPECT_EQ(shell->presentationHost().dialogFor(*alert), nullptr);
}

TEST_F(ShellDialogs, ClosingAnAlertChoosesItsCancelActionAndWithoutOneTheAlertStays)
{
    const auto cancellable = alertWithAnswers(true);
    screen->present(cancellable, true, {});
    gtk_dialog_response(GTK_DIALOG(shell->presentationHost().dialogFor(*cancellable)), GTK_RESPONSE_DELETE_EVENT);
    EXPECT_THAT(answers, ElementsAre("Cancel"));
    EXPECT_FALSE(screen->presentedViewController());

    const auto binding = alertWithAnswers(false);
    screen->present(binding, true, {});
    GtkWidget* dialog = shell->presentationHost().dialogFor(*binding);
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_DELETE_EVENT);
    EXPECT_EQ(screen->presentedViewController(), binding);
    EXPECT_EQ(shell->presentationHost().dialogFor(*binding), dialog);
    gtk_dialog_response(GTK_DIALOG(dialog), 0);
    EXPECT_THAT(answers, ElementsAre("Cancel", "OK "));
}

// Closing a dialog's window (the window manager's close, Escape) answers it
// as its close response does; only the alert's dismissal destroys it.
TEST_F(ShellDialogs, ClosingTheWindowOfAnAlertCancelsItOrWithoutCancelActionLeavesItShown)
{
    const auto cancellable = alertWithAnswers(true);
    screen->present(cancellable, true, {});
    gtk_window_close(GTK_WINDOW(shell->presentationHost().dialogFor(*cancellable)));
    EXPECT_TRUE(pumpUntil([&] { return !screen->presentedViewController(); }, 1));

    const auto binding = alertWithAnswers(false);
    screen->present(binding, true, {});
    GtkWidget* dialog = shell->presentationHost().dialogFor(*binding);
    g_object_add_weak_pointer(G_OBJECT(dialog), reinterpret_cast<gpointer*>(&dialog));
    gtk_window_close(GTK_WINDOW(dialog));
    pumpFor(0.2);
    ASSERT_NE(dialog, nullptr);
    gtk_dialog_response(GTK_DIALOG(dialog), 0);
    EXPECT_THAT(answers, ElementsAre("Cancel", "OK "));
}

TEST_F(ShellDialogs, ADocumentPickerIsAFileChooserForFoldersOrFilesThatCancelsUnlessOpened)
{
    const auto log = std::make_shared<PickerLog>();
    const auto folders = std::make_shared<UIDocumentPickerViewController>(std::vector<std::string>{"public.folder"},
                                                                          UIDocumentPickerMode::open);
    folders->setDelegate(log);
    screen->present(folders, true, {});
    GtkWidget* chooser = shell->presentationHost().dialogFor(*folders);
    ASSERT_TRUE(GTK_IS_FILE_CHOOSER(chooser));
    EXPECT_EQ(gtk_file_chooser_get_action(GTK_FILE_CHOOSER(chooser)), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
    EXPECT_FALSE(gtk_file_chooser_get_select_multiple(GTK_FILE_CHOOSER(chooser)));
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_DELETE_EVENT);
    EXPECT_THAT(log->heard, ElementsAre("cancelled"));
    EXPECT_FALSE(screen->presentedViewController());

    const auto files = std::make_shared<UIDocumentPickerViewController>(std::vector<std::string>{"public.data"},
                                                                        UIDocumentPickerMode::import);
    files->setDelegate(log);
    files->setAllowsMultipleSelection(true);
    screen->present(files, true, {});
    chooser = shell->presentationHost().dialogFor(*files);
    EXPECT_EQ(gtk_file_chooser_get_action(GTK_FILE_CHOOSER(chooser)), GTK_FILE_CHOOSER_ACTION_OPEN);
    EXPECT_TRUE(gtk_file_chooser_get_select_multiple(GTK_FILE_CHOOSER(chooser)));
    const TemporaryFolder folder;
    for (const char* name : {"a.zuvpreset", "b.zuvpreset"}) {
        std::ofstream(folder.path() / name) << "x";
    }
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), folder.path().c_str());
    const auto chosen = [&] {
        GSList* names = gtk_file_chooser_get_filenames(GTK_FILE_CHOOSER(chooser));
        const guint count = g_slist_length(names);
        g_slist_free_full(names, g_free);
        return count;
    };
    // The chooser reads the folder in the background; opening with nothing
    // chosen is refused by the chooser itself.
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    EXPECT_THAT(log->heard, ElementsAre("cancelled"));
    ASSERT_TRUE(pumpUntil([&] {
        gtk_file_chooser_select_all(GTK_FILE_CHOOSER(chooser));
        return chosen() == 2;
    }));
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    EXPECT_THAT(log->heard, ElementsAre("cancelled", "picked 2"));
    EXPECT_EQ(shell->presentationHost().dialogFor(*files), nullptr);
}
