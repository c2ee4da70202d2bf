#pragma once

#include "UIView.h"

// The root of a shown view tree: views under a window are shown and drawn,
// views outside any window are not.
class UIWindow : public UIView {
public:
    using UIView::UIView;
};
