#pragma once

#include "EffectAudioUnitLink.h"
#include "ViewControllerLink.h"

class AudioUnitViewController;

// What the views see of the plug-in's view controller. It lives inside the
// controller and the views hold it through the controller's own ownership, so
// it is gone exactly when the controller is.
class ControllerViewLink final : public ViewControllerLink {
public:
    explicit ControllerViewLink(AudioUnitViewController& controller) : controller_(controller), unit_(controller) {}

    // None while the controller has no audio unit.
    AudioUnitLink* audioUnit() const override;
    bool touchesLocked() const override;
    void setTouchesLocked(bool locked) override;
    std::vector<float> getMagnitudes() override;

private:
    AudioUnitViewController& controller_;
    // Hands itself out from the const audioUnit(), as the views expect.
    mutable EffectAudioUnitLink unit_;
};
