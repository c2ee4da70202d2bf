#pragma once

#include "AVAudioUnitComponent.h"
#include "AudioComponentInstantiationOptions.h"

#include <filesystem>
#include <memory>
#include <vector>

class AUAudioUnit;
class AUAudioUnitFactory;

// The audio components installed in an application bundle: one folder
// PlugIns/<name>.appex per plug-in, holding its information list and its
// shared object. Plug-ins are read in the order of their folder names.
class AVAudioUnitComponentManager {
public:
    // A unit a plug-in made, with the plug-in instance that made it.
    struct LoadedAudioUnit {
        std::shared_ptr<AUAudioUnit> audioUnit;
        std::shared_ptr<AUAudioUnitFactory> factory;
    };

    explicit AVAudioUnitComponentManager(std::filesystem::path bundleFolder);

    // The components of the main bundle.
    static const std::shared_ptr<AVAudioUnitComponentManager>& sharedAudioUnitComponentManager();

    // Whether `component` is one that `search` asks for: a zero type, subtype
    // or manufacturer in the search matches any; the flags are compared
    // under the search's flags mask.
    static bool matches(const AudioComponentDescription& component, const AudioComponentDescription& search);

    // The installed components that `description` matches. Plug-ins whose
    // information list cannot be read are left out.
    std::vector<AVAudioUnitComponent> componentsMatchingDescription(const AudioComponentDescription& description) const;

    // Loads the plug-in of the first component `description` matches (its
    // shared object stays loaded for the rest of the process, since what it
    // made may outlive any of its users), calls its entry for a new plug-in
    // instance and has that instance make the unit. Throws AudioUnitError when
    // no component matches, the plug-in cannot be loaded, or the unit cannot
    // be made; whatever else the plug-in's code throws becomes that error too.
    // A shared object that does not lie inside its plug-in's folder once links
    // are resolved, or that SharedObjectFile finds defective, is never handed
    // to the loader: the refusal is also printed as an error line.
    LoadedAudioUnit loadAudioUnit(const AudioComponentDescription& description,
                                  AudioComponentInstantiationOptions options) const;

private:
    std::vector<AVAudioUnitComponent> installedComponents() const;

    std::filesystem::path bundleFolder_;
};
