#pragma once

#include "PluginFrameBaseEx.h"
#include "UIControl.h"

// The rounded plate behind the panel, in the grey the brightness slider sets.
// Setting contrast does not redraw: the caller asks for that.
class PluginFrameEx : public UIControl {
public:
    explicit PluginFrameEx(CGRect frame = {}) : UIControl(frame) {}

    float contrast() const { return contrast_; }
    void setContrast(float contrast) { contrast_ = contrast; }
    const UIColor& mainColor() const { return mainColor_; }
    void setMainColor(const UIColor& color) { mainColor_ = color; }

    // Hands contrast and main colour to the drawing object and draws the plate
    // into `rect` (the bounds: the system only asks for full redraws).
    void draw(CGRect rect) override;

private:
    float contrast_ = 1.0f;
    UIColor mainColor_ = UIColor::lightGray();
    PluginFrameBaseEx baseClass_;
};
