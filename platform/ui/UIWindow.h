#pragma once

#include "UIView.h"
#include "UIViewController.h"

#include <memory>

// The root of a shown view tree: views under a window are shown and drawn,
// views outside any window are not.
class UIWindow : public UIView {
public:
    using UIView::UIView;

    // Shows the controller's view (loaded first) filling the window.
    void setRootViewController(std::shared_ptr<UIViewController> controller);
    const std::shared_ptr<UIViewController>& rootViewController() const { return rootViewController_; }

private:
    std::shared_ptr<UIViewController> rootViewController_;
};
