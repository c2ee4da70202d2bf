#pragma once

#include "UIPresentationHost.h"

#include <map>
#include <memory>

#include <gtk/gtk.h>

class GtkApplicationShell;

// Shows what the application presents: an alert as a GTK dialog, a document
// picker as a GTK file chooser, any other screen full-window in the shell.
// The dialogs are modal to the shell's window and answer through the
// controllers (choose, pick, cancel), which dismiss them.
class GtkPresentationHost : public UIPresentationHost {
public:
    explicit GtkPresentationHost(GtkApplicationShell& shell);
    ~GtkPresentationHost() override;
    GtkPresentationHost(const GtkPresentationHost&) = delete;
    GtkPresentationHost& operator=(const GtkPresentationHost&) = delete;

    void willPresent(const std::shared_ptr<UIViewController>& controller) override;
    void didDismiss(const std::shared_ptr<UIViewController>& controller) override;

    // The dialog that shows `controller`, or none.
    GtkWidget* dialogFor(const UIViewController& controller) const;

private:
    GtkWindow* parentWindow() const;

    GtkApplicationShell& shell_;
    std::map<const UIViewController*, GtkWidget*> dialogs_;
};
