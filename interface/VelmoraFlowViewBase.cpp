#include "VelmoraFlowViewBase.h"

AudioUnitLink* VelmoraFlowViewBase::audioUnit() const
{
    const std::shared_ptr<ViewControllerLink> controller = viewController.lock();
    return controller ? controller->audioUnit() : nullptr;
}
