#pragma once

#include <memory>

class UIViewController;

// What shows presented controllers to a person: the application shell. Without
// one (headless), presenting only records who presents whom, and whoever
// drives the application answers alerts and pickers itself.
class UIPresentationHost {
public:
    virtual ~UIPresentationHost() = default;

    // `controller`'s view is loaded and it is about to be told it will
    // appear: content it loads then already reaches the host's widgets.
    virtual void willPresent(const std::shared_ptr<UIViewController>& controller) = 0;
    // `controller` was taken away.
    virtual void didDismiss(const std::shared_ptr<UIViewController>& controller) = 0;
};
