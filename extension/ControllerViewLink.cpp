#include "ControllerViewLink.h"

#include "AudioUnitViewController.h"

AudioUnitLink* ControllerViewLink::audioUnit() const
{
    return controller_.audioUnit() ? &unit_ : nullptr;
}

bool ControllerViewLink::touchesLocked() const
{
    return controller_.touchesLocked();
}

void ControllerViewLink::setTouchesLocked(bool locked)
{
    controller_.setTouchesLocked(locked);
}

std::vector<float> ControllerViewLink::getMagnitudes()
{
    return controller_.getMagnitudes();
}
