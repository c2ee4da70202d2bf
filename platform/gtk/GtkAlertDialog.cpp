#include "GtkAlertDialog.h"

#include "UIAlertAction.h"
#include "UIAlertController.h"
#include "UITextField.h"

#include <optional>
#include <vector>

struct GtkAlertDialog::Answer {
    std::weak_ptr<UIAlertController> alert;
    std::vector<GtkWidget*> entries;
};

namespace {

std::optional<std::size_t> cancelAction(const UIAlertController& alert)
{
    const auto& actions = alert.actions();
    for (std::size_t index = 0; index < actions.size(); ++index) {
        if (actions[index]->style() == UIAlertActionStyle::cancel) {
            return index;
        }
    }
    return std::nullopt;
}

GtkWidget* makeEntry(const UITextField& field)
{
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(entry), field.text().c_str());
    gtk_entry_set_placeholder_text(GTK_ENTRY(entry), field.placeholder().c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    return entry;
}

} // namespace

GtkWidget* GtkAlertDialog::make(const std::shared_ptr<UIAlertController>& alert, GtkWindow* parent)
{
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE, "%s",
                                               alert->title().c_str());
    if (!alert->message().empty()) {
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", alert->message().c_str());
    }
    auto* answer = new Answer{alert, {}};
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    for (const auto& field : alert->textFields()) {
        GtkWidget* entry = makeEntry(*field);
        gtk_box_pack_start(GTK_BOX(area), entry, FALSE, FALSE, 0);
        answer->entries.push_back(entry);
    }
    const auto& actions = alert->actions();
    std::optional<gint> defaultResponse;
    for (std::size_t index = 0; index < actions.size(); ++index) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), actions[index]->title().c_str(), gint(index));
        if (!defaultResponse && actions[index]->style() == UIAlertActionStyle::default_) {
            defaultResponse = gint(index);
        }
    }
    if (defaultResponse) {
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), *defaultResponse);
    }
    g_signal_connect_data(dialog, "response", G_CALLBACK(onResponse), answer, freeAnswer, GConnectFlags(0));
    gtk_widget_show_all(dialog);
    return dialog;
}

void GtkAlertDialog::onResponse(GtkDialog*, gint response, gpointer data)
{
    const auto& answer = *static_cast<Answer*>(data);
    const auto alert = answer.alert.lock();
    if (!alert) {
        return;
    }
    const auto chosen = response >= 0 ? std::optional<std::size_t>(std::size_t(response)) : cancelAction(*alert);
    if (!chosen) {
        return;
    }
    const auto& fields = alert->textFields();
    for (std::size_t index = 0; index < fields.size() && index < answer.entries.size(); ++index) {
        fields[index]->setText(gtk_entry_get_text(GTK_ENTRY(answer.entries[index])));
    }
    alert->choose(*chosen);
}

void GtkAlertDialog::freeAnswer(gpointer answer, GClosure*)
{
    delete static_cast<Answer*>(answer);
}
