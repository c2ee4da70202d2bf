#include "UIStoryboardSegue.h"

#include "UIViewController.h"

UIStoryboardSegue::UIStoryboardSegue(std::optional<std::string> identifier,
                                     std::shared_ptr<UIViewController> source,
                                     std::shared_ptr<UIViewController> destination)
    : identifier_(std::move(identifier)), source_(std::move(source)), destination_(std::move(destination))
{
}

void UIStoryboardSegue::perform()
{
    if (source_) {
        source_->present(destination_, true, {});
    }
}
