#include "AppDelegate.h"

bool AppDelegate::application(UIApplication&, const LaunchOptions&)
{
    return true;
}
