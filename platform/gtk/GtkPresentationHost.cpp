#include "GtkPresentationHost.h"

#include "GtkAlertDialog.h"
#include "GtkApplicationShell.h"
#include "GtkDocumentPickerDialog.h"
#include "UIAlertController.h"
#include "UIDocumentPickerViewController.h"

GtkPresentationHost::GtkPresentationHost(GtkApplicationShell& shell) : shell_(shell) {}

GtkPresentationHost::~GtkPresentationHost()
{
    for (const auto& [controller, dialog] : dialogs_) {
        gtk_widget_destroy(dialog);
    }
}

void GtkPresentationHost::willPresent(const std::shared_ptr<UIViewController>& controller)
{
    GtkWidget* dialog = nullptr;
    if (const auto alert = std::dynamic_pointer_cast<UIAlertController>(controller)) {
        dialog = GtkAlertDialog::make(alert, parentWindow());
    } else if (const auto picker = std::dynamic_pointer_cast<UIDocumentPickerViewController>(controller)) {
        dialog = GtkDocumentPickerDialog::make(picker, parentWindow());
    } else {
        shell_.showOver(controller);
        return;
    }
    // Closing a dialog's window (or Escape) answers it through its close
    // response; GTK would then destroy the dialog as well, under the host,
    // and an alert without a cancel action would be left unanswerable. Only
    // the controller's dismissal destroys it.
    g_signal_connect(dialog, "delete-event", G_CALLBACK(gtk_true), nullptr);
    dialogs_[controller.get()] = dialog;
}

void GtkPresentationHost::didDismiss(const std::shared_ptr<UIViewController>& controller)
{
    if (const auto found = dialogs_.find(controller.get()); found != dialogs_.end()) {
        GtkWidget* dialog = found->second;
        dialogs_.erase(found);
        gtk_widget_destroy(dialog);
    } else {
        shell_.hideOver(*controller);
    }
}

GtkWidget* GtkPresentationHost::dialogFor(const UIViewController& controller) const
{
    const auto found = dialogs_.find(&controller);
    return found == dialogs_.end() ? nullptr : found->second;
}

GtkWindow* GtkPresentationHost::parentWindow() const
{
    return shell_.window() ? GTK_WINDOW(shell_.window()) : nullptr;
}
