#include "GtkDocumentPickerDialog.h"

#include "UIDocumentPickerViewController.h"
#include "URL.h"

#include <algorithm>
#include <vector>

namespace {

using WeakPicker = std::weak_ptr<UIDocumentPickerViewController>;

bool picksFolders(const UIDocumentPickerViewController& picker)
{
    const auto& types = picker.documentTypes();
    return std::find(types.begin(), types.end(), "public.folder") != types.end();
}

std::vector<URL> chosenURLs(GtkFileChooser* chooser)
{
    std::vector<URL> urls;
    GSList* names = gtk_file_chooser_get_filenames(chooser);
    for (GSList* name = names; name != nullptr; name = name->next) {
        urls.push_back(URL::fileURL(static_cast<const char*>(name->data)));
    }
    g_slist_free_full(names, g_free);
    return urls;
}

} // namespace

GtkWidget* GtkDocumentPickerDialog::make(const std::shared_ptr<UIDocumentPickerViewController>& picker,
                                         GtkWindow* parent)
{
    const bool folders = picksFolders(*picker);
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        folders ? "Choose a Folder" : "Choose Files", parent,
        folders ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
        GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_file_chooser_set_select_multiple(GTK_FILE_CHOOSER(dialog), picker->allowsMultipleSelection());
    g_signal_connect_data(dialog, "response", G_CALLBACK(onResponse), new WeakPicker(picker), freePicker,
                          GConnectFlags(0));
    gtk_widget_show_all(dialog);
    return dialog;
}

void GtkDocumentPickerDialog::onResponse(GtkDialog* dialog, gint response, gpointer data)
{
    const auto picker = static_cast<WeakPicker*>(data)->lock();
    if (!picker) {
        return;
    }
    if (response == GTK_RESPONSE_ACCEPT) {
        picker->pick(chosenURLs(GTK_FILE_CHOOSER(dialog)));
    } else {
        picker->cancel();
    }
}

void GtkDocumentPickerDialog::freePicker(gpointer picker, GClosure*)
{
    delete static_cast<WeakPicker*>(picker);
}
