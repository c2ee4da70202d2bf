#pragma once

#include "UIControl.h"

#include <string>

// A control that sends touch up inside when tapped; its title names it. It
// draws a light rounded face with its title centred on it, darker while a
// touch holds it.
class UIButton : public UIControl {
public:
    using UIControl::UIControl;

    const std::string& title() const { return title_; }
    // Asks for a redraw.
    void setTitle(std::string title);

    void draw(CGRect rect) override;
    void touchesBegan(const Touches& touches, UIEvent* event) override;
    void touchesEnded(const Touches& touches, UIEvent* event) override;
    void touchesCancelled(const Touches& touches, UIEvent* event) override;

private:
    std::string title_;
};
