#pragma once

#include <functional>
#include <string>

enum class UIAlertActionStyle {
    default_ = 0,
    cancel = 1,
    destructive = 2,
};

// One answer of an alert: its button's title and style, and what choosing it
// does. Made with std::make_shared.
class UIAlertAction {
public:
    using Handler = std::function<void(UIAlertAction&)>;

    UIAlertAction(std::string title, UIAlertActionStyle style, Handler handler = {})
        : title_(std::move(title)), style_(style), handler_(std::move(handler))
    {
    }
    UIAlertAction(const UIAlertAction&) = delete;
    UIAlertAction& operator=(const UIAlertAction&) = delete;

    const std::string& title() const { return title_; }
    UIAlertActionStyle style() const { return style_; }
    const Handler& handler() const { return handler_; }

private:
    std::string title_;
    UIAlertActionStyle style_;
    Handler handler_;
};
