#pragma once

#include <memory>

class AVAudioUnit;

// What the component locator tells its owner, on the thread that delivered
// the instantiated effect.
class AUExtensionManagerDelegate {
public:
    virtual ~AUExtensionManagerDelegate() = default;

    // The effect was instantiated and connected to the player.
    virtual void onFoundComponent(std::shared_ptr<AVAudioUnit> unit) = 0;
    // The locator has finished its own work after the connection.
    virtual void onEngineInitialized() = 0;
};
