#pragma once

#include "UIView.h"

// Ties the view's top, leading, bottom and trailing edges to its superview's
// (no offsets), after switching off its autoresizing translation. A view
// without a superview is left as it is.
void pinToSuperviewEdges(UIView& view);
