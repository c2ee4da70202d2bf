#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "AUAudioUnitBus.h"

enum class AUAudioUnitBusType {
    input = 1,
    output = 2,
};

// The input or the output buses of an audio unit, in bus-number order.
class AUAudioUnitBusArray {
public:
    AUAudioUnitBusArray(AUAudioUnitBusType busType, std::vector<std::shared_ptr<AUAudioUnitBus>> busses);

    AUAudioUnitBusType busType() const { return busType_; }
    std::size_t count() const { return busses_.size(); }
    // Null for an index at or beyond count().
    std::shared_ptr<AUAudioUnitBus> operator[](std::size_t index) const;

private:
    AUAudioUnitBusType busType_;
    std::vector<std::shared_ptr<AUAudioUnitBus>> busses_;
};
