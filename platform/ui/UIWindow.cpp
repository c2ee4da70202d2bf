#include "UIWindow.h"

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller)
{
    rootViewController_ = std::move(controller);
    if (rootViewController_) {
        const auto& root = rootViewController_->view();
        root->setFrame(bounds());
        addSubview(root);
    }
}
