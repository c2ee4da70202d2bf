#pragma once

#include "AudioComponentDescription.h"
#include "AudioComponentInstantiationOptions.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class AUAudioUnit;

// Builds an audio unit for the description a host asks for; may throw the
// audio unit's initialisation error.
using AudioUnitFactory = std::function<std::shared_ptr<AUAudioUnit>(const AudioComponentDescription& description,
                                                                    AudioComponentInstantiationOptions options)>;

struct AudioComponentRegistration {
    AudioComponentDescription description;
    std::string name;
    AudioUnitFactory factory;
};

// The process-wide list of audio components: a plug-in registers its factory
// when it is loaded, and a host finds the factory by the component description.
class AudioComponentRegistry {
public:
    static AudioComponentRegistry& shared();

    // Refuses (returns false, keeps the first) a description already registered
    // and a registration without a factory.
    bool registerComponent(AudioComponentRegistration registration);
    std::optional<AudioComponentRegistration> registration(const AudioComponentDescription& description) const;

private:
    mutable std::mutex mutex_;
    std::vector<AudioComponentRegistration> registrations_;
};
