#pragma once

#include "UIControl.h"

// A control that holds a value between a minimum and a maximum (0 and 1 by
// default). A touch sets the value by where it lies across the slider's width
// (the left edge is the minimum) and sends value changed. It draws a track
// across its middle, darker up to the value, and a round thumb at the value.
class UISlider : public UIControl {
public:
    using UIControl::UIControl;

    float value() const { return value_; }
    // Sets the value, limited to the range; a value that is not a number is
    // ignored. Sends nothing (only touches do); asks for a redraw.
    void setValue(float value);

    float minimumValue() const { return minimumValue_; }
    float maximumValue() const { return maximumValue_; }
    // Sets the range (the larger bound becomes the maximum) and brings the
    // value into it. Bounds that are not numbers are ignored.
    void setRange(float minimum, float maximum);

    void draw(CGRect rect) override;
    void touchesBegan(const Touches& touches, UIEvent* event) override;
    void touchesMoved(const Touches& touches, UIEvent* event) override;

private:
    void follow(const Touches& touches);

    float value_ = 0.0f;
    float minimumValue_ = 0.0f;
    float maximumValue_ = 1.0f;
};
