#include "UIApplicationMain.h"

#include "Bundle.h"
#include "GtkApplicationShell.h"
#include "UIApplicationDelegate.h"

#include <iostream>

int UIApplicationMain(int argc, char* argv[], const UIApplication::DelegateMaker& makeDelegate,
                      const UIApplication::MainInterface& mainInterface)
{
    const std::string name = Bundle::main().bundleName();
    if (!gtk_init_check(&argc, &argv)) {
        std::cerr << name << ": ERROR: No display could be opened (neither DISPLAY nor WAYLAND_DISPLAY leads to "
                             "one); the application needs a display to show its window."
                  << std::endl;
        return 1;
    }
    auto& application = UIApplication::shared();
    application.launch(makeDelegate, mainInterface);
    {
        GtkApplicationShell shell(application.delegate()->window, Bundle::main().displayName());
        shell.show();
        gtk_main();
    }
    application.terminate();
    return 0;
}
