#pragma once

#include "UIApplicationDelegate.h"

// The host's application delegate: it accepts the launch and has nothing
// else to do.
class AppDelegate : public UIApplicationDelegate {
public:
    bool application(UIApplication& application, const LaunchOptions& launchOptions) override;
};
