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
    if (const auto alert = std::dynamic_pointer_cast<UIAlertController>(controller)) {
        dialogs_[controller.get()] = GtkAlertDialog::make(alert, parentWindow());
    } else if (const auto picker = std::dynamic_pointer_cast<UIDocumentPickerViewController>(controller)) {
        dialogs_[controller.get()] = GtkDocumentPickerDialog::make(picker, parentWindow());
    } else {
        shell_.showOver(controller);
    }
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
