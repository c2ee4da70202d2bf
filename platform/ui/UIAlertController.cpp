#include "UIAlertController.h"

#include "UIAlertAction.h"
#include "UITextField.h"

UIAlertController::UIAlertController(std::string title, std::string message,
                                     UIAlertControllerStyle preferredStyle)
    : title_(std::move(title)), message_(std::move(message)), preferredStyle_(preferredStyle)
{
}

void UIAlertController::addTextField(const std::function<void(UITextField&)>& configuration)
{
    auto field = std::make_shared<UITextField>();
    if (configuration) {
        configuration(*field);
    }
    textFields_.push_back(std::move(field));
}

void UIAlertController::addAction(std::shared_ptr<UIAlertAction> action)
{
    if (action) {
        actions_.push_back(std::move(action));
    }
}

void UIAlertController::choose(std::size_t index)
{
    if (index >= actions_.size()) {
        return;
    }
    // Dismissing may release this alert; the answer and the alert stay for
    // the handler, which often reads the text fields.
    const auto self = shared_from_this();
    const auto action = actions_[index];
    dismiss(true);
    if (action->handler()) {
        action->handler()(*action);
    }
}
