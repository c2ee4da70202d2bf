#include "UIViewController.h"

#include "UIView.h"

const std::shared_ptr<UIView>& UIViewController::view()
{
    if (!view_) {
        loadView();
        if (!view_) {
            view_ = std::make_shared<UIView>();
        }
        viewDidLoad();
    }
    return view_;
}

void UIViewController::loadView()
{
    setView(std::make_shared<UIView>());
}

void UIViewController::viewDidLoad() {}
