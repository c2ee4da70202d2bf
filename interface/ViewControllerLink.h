#pragma once

#include "AudioUnitLink.h"

// What the interface views may use of the plug-in's view controller, which
// owns the views (so they hold it without owning it).
class ViewControllerLink {
public:
    virtual ~ViewControllerLink() = default;

    // The controller's audio unit, owned by the controller; none until it has
    // created one.
    virtual AudioUnitLink* audioUnit() const = 0;
};
