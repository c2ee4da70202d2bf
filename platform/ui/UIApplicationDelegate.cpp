#include "UIApplicationDelegate.h"

bool UIApplicationDelegate::application(UIApplication&, const LaunchOptions&)
{
    return true;
}

void UIApplicationDelegate::applicationWillResignActive(UIApplication&) {}

void UIApplicationDelegate::applicationDidEnterBackground(UIApplication&) {}

void UIApplicationDelegate::applicationWillEnterForeground(UIApplication&) {}

void UIApplicationDelegate::applicationDidBecomeActive(UIApplication&) {}

void UIApplicationDelegate::applicationWillTerminate(UIApplication&) {}
