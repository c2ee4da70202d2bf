#include "UILabel.h"

void UILabel::setText(std::string text)
{
    if (text != text_) {
        text_ = std::move(text);
        setNeedsDisplay();
    }
}
