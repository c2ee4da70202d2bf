#pragma once

#include "AudioUnitLink.h"
#include "ViewControllerLink.h"

#include <vector>

class FakeAudioUnit : public AudioUnitLink {};

// A controller whose audio unit and magnitudes the test sets.
class FakeViewController : public ViewControllerLink {
public:
    AudioUnitLink* audioUnit() const override { return unit; }
    std::vector<float> getMagnitudes() override { return magnitudes; }

    AudioUnitLink* unit = nullptr;
    std::vector<float> magnitudes;
};
