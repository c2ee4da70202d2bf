#pragma once

#include "NSStringDrawing.h"
#include "UIView.h"

#include <optional>
#include <string>

// A view that shows text for the reader: laid out at its width in its font,
// colour and alignment, on at most `numberOfLines` lines (any number when 0;
// the last shown line ends in an ellipsis where text is cut short), centred
// vertically and clipped to its bounds.
class UILabel : public UIView {
public:
    using UIView::UIView;

    const std::string& text() const { return text_; }
    // None only where the default font is not installed; nothing is drawn
    // without a font.
    const std::optional<UIFont>& font() const { return font_; }
    const UIColor& textColor() const { return textColor_; }
    NSTextAlignment textAlignment() const { return textAlignment_; }
    int numberOfLines() const { return numberOfLines_; }

    // Each asks for a redraw when it changes what is shown.
    void setText(std::string text);
    void setFont(const UIFont& font);
    void setTextColor(const UIColor& color);
    void setTextAlignment(NSTextAlignment alignment);
    // A negative count counts as 0.
    void setNumberOfLines(int lines);

    void draw(CGRect rect) override;

private:
    std::string text_;
    std::optional<UIFont> font_ = UIFont::named("HelveticaNeue", 17);
    UIColor textColor_ = UIColor::black();
    NSTextAlignment textAlignment_ = NSTextAlignment::left;
    int numberOfLines_ = 1;
};
