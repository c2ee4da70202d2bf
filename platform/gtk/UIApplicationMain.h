#pragma once

#include "UIApplication.h"

// The application's entry: initialises GTK, launches the application, shows
// its window in the application shell, titled with the bundle's display
// name, and runs the GTK main loop, which pumps the main run loop, until the
// window is closed. Then the application ends in order
// (UIApplication::terminate) and 0 is returned. Without a display it says so
// on standard error and returns 1.
int UIApplicationMain(int argc, char* argv[], const UIApplication::DelegateMaker& makeDelegate,
                      const UIApplication::MainInterface& mainInterface);
