#pragma once

#include <memory>

#include <gtk/gtk.h>

class UIDocumentPickerViewController;

// A document picker as a modal GTK file chooser: it chooses folders when the
// picker asks for "public.folder", files otherwise, several when the picker
// allows it. Opening picks the chosen paths as file URLs; anything else
// cancels. Either dismisses the picker, which destroys the dialog.
class GtkDocumentPickerDialog {
public:
    // The dialog, shown; `parent` may be null.
    static GtkWidget* make(const std::shared_ptr<UIDocumentPickerViewController>& picker, GtkWindow* parent);

private:
    static void onResponse(GtkDialog* dialog, gint response, gpointer picker);
    static void freePicker(gpointer picker, GClosure*);
};
