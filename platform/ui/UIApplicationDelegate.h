#pragma once

#include "UIWindow.h"

#include <any>
#include <map>
#include <memory>
#include <string>

class UIApplication;

// What an application tells its delegate about its life; by default the
// delegate accepts the launch and does nothing.
class UIApplicationDelegate {
public:
    using LaunchOptions = std::map<std::string, std::any>;

    virtual ~UIApplicationDelegate() = default;

    virtual bool application(UIApplication& application, const LaunchOptions& launchOptions);
    virtual void applicationWillResignActive(UIApplication& application);
    virtual void applicationDidEnterBackground(UIApplication& application);
    virtual void applicationWillEnterForeground(UIApplication& application);
    virtual void applicationDidBecomeActive(UIApplication& application);
    virtual void applicationWillTerminate(UIApplication& application);

    // Set by the application when it loads its main interface.
    std::shared_ptr<UIWindow> window;
};
