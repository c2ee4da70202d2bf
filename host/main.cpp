#include "AppDelegate.h"
#include "UIApplicationMain.h"
#include "ViewController.h"

int main(int argc, char* argv[])
{
    return UIApplicationMain(
        argc, argv, [] { return std::make_shared<AppDelegate>(); },
        [] { return std::make_shared<ViewController>(); });
}
