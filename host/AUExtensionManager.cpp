#include "AUExtensionManager.h"

#include "Console.h"
#include "DispatchQueue.h"
#include "FourCharCode.h"
#include "ProcessInfo.h"

#include <cstdio>

namespace {

// The structure as the platform writes it out: its type name and its fields.
std::string describe(const AudioComponentDescription& description)
{
    return "AudioComponentDescription(componentType: " + std::to_string(description.componentType)
        + ", componentSubType: " + std::to_string(description.componentSubType)
        + ", componentManufacturer: " + std::to_string(description.componentManufacturer)
        + ", componentFlags: " + std::to_string(description.componentFlags)
        + ", componentFlagsMask: " + std::to_string(description.componentFlagsMask) + ")";
}

std::string flagsText(std::uint32_t flags)
{
    char text[16];
    std::snprintf(text, sizeof text, "%#010x", flags);
    return text;
}

} // namespace

std::shared_ptr<AUExtensionManager> AUExtensionManager::make(std::weak_ptr<AUExtensionManagerDelegate> delegate,
                                                             std::shared_ptr<AUEnginePlayer> player,
                                                             std::shared_ptr<const AVAudioUnitComponentManager> components)
{
    std::shared_ptr<AUExtensionManager> manager(
        new AUExtensionManager(std::move(delegate), std::move(player), std::move(components)));
    manager->loadForRelease();
    return manager;
}

AUExtensionManager::AUExtensionManager(std::weak_ptr<AUExtensionManagerDelegate> delegate,
                                       std::shared_ptr<AUEnginePlayer> player,
                                       std::shared_ptr<const AVAudioUnitComponentManager> components)
    : auEngine_(std::move(player)), delegate_(std::move(delegate)), components_(std::move(components))
{
}

std::vector<Preset> AUExtensionManager::presets() const
{
    std::vector<Preset> wrapped;
    if (audioUnit_) {
        for (auto& preset : audioUnit_->factoryPresets()) {
            wrapped.push_back(Preset(std::move(preset)));
        }
    }
    return wrapped;
}

std::optional<Preset> AUExtensionManager::currentPreset() const
{
    if (!audioUnit_) {
        return std::nullopt;
    }
    auto preset = audioUnit_->currentPreset();
    return preset ? std::optional(Preset(std::move(*preset))) : std::nullopt;
}

void AUExtensionManager::setCurrentPreset(const std::optional<Preset>& preset)
{
    if (audioUnit_) {
        audioUnit_->setCurrentPreset(preset ? std::optional(preset->preset_) : std::nullopt);
    }
}

void AUExtensionManager::loadForRelease()
{
    Console::print("NOTE: WE ARE IN AUDIO UNIT RELEASE MODE. ENSURE THE STORYBOARD CONNECTIONS ARE VALID!");
    DispatchQueue::global().async([self = shared_from_this()] {
        self->availableAudioUnits_ = self->components_->componentsMatchingDescription(self->componentDescription_);
        if (self->availableAudioUnits_.empty()) {
            Console::print("ERROR: There were no audio units found.");
            return;
        }
        self->selectfoundComponent(self->availableAudioUnits_.front(), [self] { self->onFoundComponent(); });
    });
}

void AUExtensionManager::selectfoundComponent(const std::optional<AVAudioUnitComponent>& component,
                                              Completion completion)
{
    if (!component) {
        Console::print("ERROR: Component is nil.");
        return;
    }
    Console::print("AUExtensionManager: Loaded component has following properties.");
    log(component->audioComponentDescription());
    selectAudioUnitWithComponentDescription(component->audioComponentDescription(), std::move(completion));
}

void AUExtensionManager::log(const AudioComponentDescription& description) const
{
    const auto& process = ProcessInfo::processInfo();
    Console::print("\nProcess Name: " + process.processName() + " PID: " + std::to_string(process.processIdentifier())
                   + "\n");
    Console::print("AUExtension (\ntype: " + stringValue(description.componentType) + "\nsubtype: "
                   + stringValue(description.componentSubType) + "\nmanufacturer: "
                   + stringValue(description.componentManufacturer) + "\nflags: "
                   + flagsText(description.componentFlags) + "\n)");
}

void AUExtensionManager::selectAudioUnitWithComponentDescription(
    const std::optional<AudioComponentDescription>& description, Completion completion)
{
    if (!description) {
        Console::print("Error: Component description is nil.");
        return;
    }
    AVAudioUnit::instantiate(
        *description, {},
        [self = shared_from_this(), description = *description,
         completion = std::move(completion)](std::shared_ptr<AVAudioUnit> unit, std::optional<AudioUnitError>) {
            if (!unit) {
                Console::print(describe(description));
                Console::print("Error: Could not instantiate audio unit.");
                return;
            }
            self->connectFoundUnit(unit, completion);
        },
        components_);
}

void AUExtensionManager::connectFoundUnit(const std::shared_ptr<AVAudioUnit>& unit, const Completion& completion)
{
    Console::print("AUExtensionManager: Audio unit was found, making connections now ...");
    unit->auAudioUnit()->setContextName("running in distribution host");
    auEngine_->connect(unit, [this, unit, completion] {
        Console::print("AUExtensionManager: Performed audio unit connection.");
        if (const auto delegate = delegate_.lock()) {
            delegate->onFoundComponent(unit);
        }
        completion();
    });
}

void AUExtensionManager::onFoundComponent()
{
    connectParametersToControls();
    if (const auto delegate = delegate_.lock()) {
        delegate->onEngineInitialized();
    }
}

void AUExtensionManager::connectParametersToControls()
{
    if (!audioUnit_) {
        Console::print("WARNING: Audio unit is nil (yet?).");
    }
}

bool AUExtensionManager::togglePlayback()
{
    return auEngine_->toggle();
}

void AUExtensionManager::cleanup()
{
    auEngine_->finalize();
}
