#pragma once

#include "UIViewController.h"

// The view controller of an audio unit's interface, the view a host embeds.
class AUViewController : public UIViewController {
public:
    // Out of line, so that the class's type information lives in the
    // platform library that host and plug-in share.
    ~AUViewController() override;
};
