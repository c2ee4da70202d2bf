#pragma once

#include "UIControl.h"

#include <string>

// A control holding one line of text that the user types; the placeholder
// shows while the text is empty.
class UITextField : public UIControl {
public:
    using UIControl::UIControl;

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder) { placeholder_ = std::move(placeholder); }

private:
    std::string text_;
    std::string placeholder_;
};
