#pragma once

#include "UIApplicationDelegate.h"
#include "UIPresentationHost.h"
#include "UIViewController.h"

#include <functional>
#include <memory>

// The running application: it makes its delegate, loads its main interface
// into a window and tells the delegate it has launched.
class UIApplication {
public:
    using DelegateMaker = std::function<std::shared_ptr<UIApplicationDelegate>()>;
    // The main interface file: makes its initial view controller.
    using MainInterface = std::function<std::shared_ptr<UIViewController>()>;

    // The size of the window the main interface is shown in.
    static constexpr double kWindowWidth = 1024.0;
    static constexpr double kWindowHeight = 768.0;

    static UIApplication& shared();

    // Makes the delegate, gives it a window whose root is the main
    // interface's initial controller (its view loaded) and tells it that the
    // launch has finished. Called on the main thread, once.
    void launch(const DelegateMaker& makeDelegate, const MainInterface& mainInterface);
    const std::shared_ptr<UIApplicationDelegate>& delegate() const { return delegate_; }
    // Ends the application in order: tells the delegate it will terminate,
    // then lets go of it and of its window, so that whatever the interface
    // holds (an audio engine among it) ends before the process does.
    void terminate();

    // The shell that shows presented controllers, held without owning it;
    // the shell clears it before it goes. Main thread only.
    UIPresentationHost* presentationHost() const { return presentationHost_; }
    void setPresentationHost(UIPresentationHost* host) { presentationHost_ = host; }

private:
    UIApplication() = default;

    std::shared_ptr<UIApplicationDelegate> delegate_;
    UIPresentationHost* presentationHost_ = nullptr;
};
