#include "UIDocumentPickerDelegate.h"

void UIDocumentPickerDelegate::documentPicker(UIDocumentPickerViewController&, const std::vector<URL>&) {}

void UIDocumentPickerDelegate::documentPicker(UIDocumentPickerViewController&, const URL&) {}

void UIDocumentPickerDelegate::documentPickerWasCancelled(UIDocumentPickerViewController&) {}
