#pragma once

#include "URL.h"

#include <vector>

class UIDocumentPickerViewController;

// What a document picker tells its delegate. Every operation does nothing
// unless overridden.
class UIDocumentPickerDelegate {
public:
    virtual ~UIDocumentPickerDelegate() = default;

    // The documents the user picked. This is the one the picker calls.
    virtual void documentPicker(UIDocumentPickerViewController& picker, const std::vector<URL>& urls);
    // One picked document, the older form; the picker never calls it.
    virtual void documentPicker(UIDocumentPickerViewController& picker, const URL& url);
    virtual void documentPickerWasCancelled(UIDocumentPickerViewController& picker);
};
