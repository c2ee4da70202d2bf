#pragma once

#include "BasicResizingBehavior.h"
#include "CGRect.h"
#include "ScaleRecords.h"
#include "UIColor.h"

// Draws the frame plate: a grey rounded plate inset by 2 units on every side of
// its frame, always at scale 1 (its canvas is the frame's own size).
class PluginFrameBaseEx {
public:
    // Records its scale in PluginFrameViewScale.
    using ResizingBehavior = BasicResizingBehavior<RecordsIn<PluginFrameViewScale>>;

    PluginFrameBaseEx() = default;
    PluginFrameBaseEx(const PluginFrameBaseEx&) = delete;
    PluginFrameBaseEx& operator=(const PluginFrameBaseEx&) = delete;

    // Grey level of the plate, 0 black to 1 white.
    CGFloat contrast() const { return contrast_; }
    void setContrast(CGFloat contrast) { contrast_ = contrast; }
    // Kept for the view; the plate does not use it.
    const UIColor& mainColor() const { return mainColor_; }
    void setMainColor(const UIColor& color) { mainColor_ = color; }

    // Draws into the current graphics context, as inside a view's draw;
    // without one there is nothing to draw into and nothing happens.
    void draw(CGRect frame = CGRect(0, 0, 512, 384),
              ResizingBehavior resizing = ResizingBehavior::aspectFit) const;

private:
    CGFloat contrast_ = 0.25;
    UIColor mainColor_ = UIColor::lightGray();
};
