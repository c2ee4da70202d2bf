#include "AUAudioUnitBusArray.h"

#include <utility>

AUAudioUnitBusArray::AUAudioUnitBusArray(AUAudioUnitBusType busType,
                                         std::vector<std::shared_ptr<AUAudioUnitBus>> busses)
    : busType_(busType)
    , busses_(std::move(busses))
{
}

std::shared_ptr<AUAudioUnitBus> AUAudioUnitBusArray::operator[](std::size_t index) const
{
    return index < busses_.size() ? busses_[index] : nullptr;
}
