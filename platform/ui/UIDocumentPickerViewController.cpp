#include "UIDocumentPickerViewController.h"

#include "UIDocumentPickerDelegate.h"

UIDocumentPickerViewController::UIDocumentPickerViewController(std::vector<std::string> documentTypes,
                                                               UIDocumentPickerMode mode)
    : documentTypes_(std::move(documentTypes)), mode_(mode)
{
}

void UIDocumentPickerViewController::pick(std::vector<URL> urls)
{
    if (!allowsMultipleSelection_ && urls.size() > 1) {
        urls.erase(urls.begin() + 1, urls.end());
    }
    // Dismissing may release the picker; it stays for its delegate.
    const auto self = shared_from_this();
    dismiss(true);
    if (const auto delegate = delegate_.lock()) {
        delegate->documentPicker(*this, urls);
    }
}

void UIDocumentPickerViewController::cancel()
{
    const auto self = shared_from_this();
    dismiss(true);
    if (const auto delegate = delegate_.lock()) {
        delegate->documentPickerWasCancelled(*this);
    }
}
