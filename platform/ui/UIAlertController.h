#pragma once

#include "UIViewController.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class UIAlertAction;
class UITextField;

enum class UIAlertControllerStyle {
    actionSheet = 0,
    alert = 1,
};

// A message with answers, and with text fields for the reader to fill in.
// Whatever shows it to a person (the application shell, or a test) answers it
// through choose().
class UIAlertController : public UIViewController {
public:
    UIAlertController(std::string title, std::string message, UIAlertControllerStyle preferredStyle);

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    UIAlertControllerStyle preferredStyle() const { return preferredStyle_; }

    // Adds a text field, handing it to `configuration` first.
    void addTextField(const std::function<void(UITextField&)>& configuration = {});
    const std::vector<std::shared_ptr<UITextField>>& textFields() const { return textFields_; }

    // The answers, in the order they were added.
    void addAction(std::shared_ptr<UIAlertAction> action);
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }

    // The reader picks the answer at `index`: the alert goes away, then the
    // answer's handler runs. An index past the answers does nothing.
    void choose(std::size_t index);

private:
    std::string title_;
    std::string message_;
    UIAlertControllerStyle preferredStyle_;
    std::vector<std::shared_ptr<UITextField>> textFields_;
    std::vector<std::shared_ptr<UIAlertAction>> actions_;
};
