#pragma once

#include "AUAudioUnitFactory.h"
#include "AUParameterTypes.h"
#include "AUViewController.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class AUParameter;
class AUParameterGroup;
class AUParameterTree;
class ZUV_VELMORA_Quillmere_Extension_AudioUnit;

// The plug-in's principal object: the factory that builds the audio unit when
// a host instantiates the component, and the controller of the plug-in's
// interface. Made with std::make_shared; it owns its audio unit and its views.
class AudioUnitViewController : public AUViewController, public AUAudioUnitFactory {
public:
    AudioUnitViewController() = default;
    ~AudioUnitViewController() override;

    // Builds the effect's audio unit with an empty option set and assigns it.
    // A unit that fails to build throws its error here and the controller
    // keeps the unit it had.
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription& description) override;

    // Any thread.
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> audioUnit() const;
    // Any thread. Queues the panel's connection to the unit on the main
    // queue; the panel connects once per unit, as soon as the view is loaded.
    void setAudioUnit(std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit);

    // A parameter of the connected tree by address; without a connection, or
    // for an address the tree lacks, an error line (and 0 for the read).
    void setParameter(std::int64_t address, AUValue value);
    AUValue getParameter(std::int64_t address);

private:
    std::shared_ptr<AudioUnitViewController> strongSelf();
    // Prints where the audio unit's documents and resources lie.
    void setPaths();
    // Collects and prints every parameter of the unit's tree and observes
    // the tree; a tree connected before stops being observed.
    void connectParameters();
    void extractParameters(const std::string& name, const AUParameterGroup* tree, std::int64_t level);
    void disconnectParameters();
    // Main thread: a value of the observed tree changed.
    void showParameter(AUParameterAddress address, AUValue value);
    std::shared_ptr<AUParameter> parameterAt(std::int64_t address) const;

    // Assigned on the host's thread, read on the main thread.
    mutable std::mutex audioUnitMutex_;
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> audioUnit_;
    // The unit the panel was last connected to (main thread).
    std::weak_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> connectedUnit_;
    AUParameterObserverToken parameterObserverToken_ = 0;
    std::shared_ptr<AUParameterTree> parameterTree_;
    std::vector<std::shared_ptr<AUParameter>> parameters_;
};
