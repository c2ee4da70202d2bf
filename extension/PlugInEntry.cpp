#include "AudioComponentPlugIn.h"
#include "AudioUnitViewController.h"

#include <memory>

// The plug-in's one exported symbol: the host that loads the shared object
// calls it for each instance it makes of the component.
extern "C" __attribute__((visibility("default"))) AudioComponentPlugIn ZUV_VELMORA_Quillmere_ExtensionFactory()
{
    // 'aumf' (a music effect), 'kbrw', 'ZUNK', flags 2.
    constexpr AudioComponentDescription component{0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0};
    return {component, std::make_shared<AudioUnitViewController>()};
}
