#include "UIApplication.h"

UIApplication& UIApplication::shared()
{
    static UIApplication application;
    return application;
}

void UIApplication::launch(const DelegateMaker& makeDelegate, const MainInterface& mainInterface)
{
    delegate_ = makeDelegate();
    auto window = std::make_shared<UIWindow>(CGRect(0, 0, kWindowWidth, kWindowHeight));
    window->setRootViewController(mainInterface());
    delegate_->window = std::move(window);
    delegate_->application(*this, {});
}

void UIApplication::terminate()
{
    if (!delegate_) {
        return;
    }
    delegate_->applicationWillTerminate(*this);
    const auto delegate = std::move(delegate_);
    delegate->window.reset();
}
