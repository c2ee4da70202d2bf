#pragma once

#include "UIControl.h"

#include <string>

// A control that sends touch up inside when tapped; its title names it.
class UIButton : public UIControl {
public:
    using UIControl::UIControl;

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

private:
    std::string title_;
};
