#pragma once

#include "CGFloat.h"
#include "CGRect.h"

// Where the flow panel's controls lie on its 600 x 660 design canvas, and how
// a point there (design units) becomes the value of a control. Every value is
// kept on its scale, also for points far outside the control.
struct FlowPanelGeometry {
    static CGRect canvas() { return CGRect(0, 0, 600, 660); }

    // How far a knob-like control must be dragged, up and to the right
    // together, to cross its whole scale.
    static constexpr CGFloat rangeDrag = 200;
    static constexpr CGFloat mixDrag = 150;
    static constexpr CGFloat optionDrag = 100;

    // `value` clamped to 0 ... 1; not a number gives 0.
    static CGFloat unit(CGFloat value);
    // `value` snapped down to the 1/128 grid of the cross-hair and the range
    // handles.
    static CGFloat onGrid(CGFloat value);

    // The band of the editor (128 bands of 4 units from x 45) whose middle
    // lies at or left of x, 0 ... 127.
    static int bandAt(CGFloat x);
    // The band value at y: 1 at the editor's top edge (417), 0 at its bottom.
    static CGFloat bandValueAt(CGFloat y);
    // The cross-hair's position across (on the grid) and down the 512-unit
    // flow area at x 44, y 67.
    static CGFloat crossHorizontalAt(CGFloat x);
    static CGFloat crossVerticalAt(CGFloat y);

    // A knob-like control's value after a drag by (dx, dy) from where it was
    // `saved`: up and right raise it, down and left lower it.
    static CGFloat knobValue(CGFloat saved, CGFloat dx, CGFloat dy, CGFloat drag);
};
