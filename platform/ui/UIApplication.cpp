#include "UIApplication.h"

#include "RunLoop.h"

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

int UIApplicationMain(int, char*[], const UIApplication::DelegateMaker& makeDelegate,
                      const UIApplication::MainInterface& mainInterface)
{
    UIApplication::shared().launch(makeDelegate, mainInterface);
    RunLoop::main().run();
    return 0;
}
