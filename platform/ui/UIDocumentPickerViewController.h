#pragma once

#include "UIViewController.h"
#include "URL.h"

#include <memory>
#include <string>
#include <vector>

class UIDocumentPickerDelegate;

enum class UIDocumentPickerMode {
    // The app takes the documents in. No copy is made here: the picked
    // files' own URLs are handed over.
    import = 0,
    // The app works on the documents where they are.
    open = 1,
};

// Lets the user pick documents of the given types (uniform type identifiers
// such as "public.data"). Whatever shows it to a person (the application
// shell, or a test) reports the outcome through pick() or cancel(); the picker
// then goes away and tells its delegate.
class UIDocumentPickerViewController : public UIViewController {
public:
    UIDocumentPickerViewController(std::vector<std::string> documentTypes, UIDocumentPickerMode mode);

    const std::vector<std::string>& documentTypes() const { return documentTypes_; }
    UIDocumentPickerMode documentPickerMode() const { return mode_; }

    // Held without owning it.
    std::shared_ptr<UIDocumentPickerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UIDocumentPickerDelegate>& delegate) { delegate_ = delegate; }

    // Off by default: the user picks one document.
    bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool allows) { allowsMultipleSelection_ = allows; }

    // The user picked `urls`; without multiple selection only the first
    // counts.
    void pick(std::vector<URL> urls);
    void cancel();

private:
    std::vector<std::string> documentTypes_;
    UIDocumentPickerMode mode_;
    std::weak_ptr<UIDocumentPickerDelegate> delegate_;
    bool allowsMultipleSelection_ = false;
};
