#pragma once

#include "UIView.h"

#include <string>

// A view that holds a line of text for the reader.
class UILabel : public UIView {
public:
    using UIView::UIView;

    const std::string& text() const { return text_; }
    // Asks for a redraw when the text changes.
    void setText(std::string text);

private:
    std::string text_;
};
