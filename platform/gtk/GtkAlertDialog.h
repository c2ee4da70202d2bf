#pragma once

#include <memory>

#include <gtk/gtk.h>

class UIAlertController;

// An alert as a modal GTK dialog: its title, its message, an entry per text
// field and a button per action, in order. A button answers the alert with
// its action, after the entries' texts went back into the text fields;
// closing the dialog answers with the alert's cancel-style action, and
// without one the dialog stays until a button is pressed. Answering
// dismisses the alert, and dismissing it is what destroys the dialog.
class GtkAlertDialog {
public:
    // The dialog, shown; `parent` may be null.
    static GtkWidget* make(const std::shared_ptr<UIAlertController>& alert, GtkWindow* parent);

private:
    struct Answer;

    static void onResponse(GtkDialog* dialog, gint response, gpointer answer);
    static void freeAnswer(gpointer answer, GClosure*);
};
