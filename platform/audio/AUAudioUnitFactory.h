#pragma once

#include "AudioComponentDescription.h"

#include <memory>

class AUAudioUnit;

// The role of a plug-in's principal object: it builds the audio unit when a
// host instantiates the component.
class AUAudioUnitFactory {
public:
    // Out of line, so that the class's type information lives in the
    // platform library that host and plug-in share.
    virtual ~AUAudioUnitFactory();

    // Builds the unit for the description a host asked for. Throws the unit's
    // initialisation error (AudioUnitError) when it cannot be made.
    virtual std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription& description) = 0;
};
