#pragma once

#include "AudioUnitLink.h"

#include <vector>

// What the interface views may use of the plug-in's view controller, which
// owns the views (so they hold it without owning it).
class ViewControllerLink {
public:
    virtual ~ViewControllerLink() = default;

    // The controller's audio unit, owned by the controller; none until it has
    // created one.
    virtual AudioUnitLink* audioUnit() const = 0;

    // Set by the flow view while it owns a touch on one of its hit areas, so
    // that the controller's own gestures leave that touch alone.
    virtual bool touchesLocked() const = 0;
    virtual void setTouchesLocked(bool locked) = 0;

    // A copy of the audio unit's 128 chromatic magnitudes (index = MIDI note);
    // empty while the controller has no audio unit.
    virtual std::vector<float> getMagnitudes() = 0;
};
