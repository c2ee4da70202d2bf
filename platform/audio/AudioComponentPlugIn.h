#pragma once

#include "AUAudioUnitFactory.h"
#include "AudioComponentDescription.h"

#include <memory>

// What a plug-in's entry hands the host that loaded it: the component the
// plug-in provides and a new principal object that builds its audio units.
struct AudioComponentPlugIn {
    AudioComponentDescription description;
    std::shared_ptr<AUAudioUnitFactory> factory;
};

// The one C function a plug-in's shared object exports, found by the symbol
// named in the plug-in's information list. Each call makes a new factory.
extern "C" {
typedef AudioComponentPlugIn (*AudioComponentPlugInEntry)();
}
