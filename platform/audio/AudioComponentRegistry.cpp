#include "AudioComponentRegistry.h"

#include <algorithm>
#include <utility>

AudioComponentRegistry& AudioComponentRegistry::shared()
{
    static AudioComponentRegistry registry;
    return registry;
}

bool AudioComponentRegistry::registerComponent(AudioComponentRegistration registration)
{
    if (!registration.factory) {
        return false;
    }
    const std::lock_guard lock(mutex_);
    const bool known = std::any_of(registrations_.begin(), registrations_.end(), [&](const auto& existing) {
        return existing.description == registration.description;
    });
    if (known) {
        return false;
    }
    registrations_.push_back(std::move(registration));
    return true;
}

std::optional<AudioComponentRegistration>
AudioComponentRegistry::registration(const AudioComponentDescription& description) const
{
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                    [&](const auto& existing) { return existing.description == description; });
    if (found == registrations_.end()) {
        return std::nullopt;
    }
    return *found;
}
