#include "AUAudioUnit.h"

#include <utility>

#include "AUAudioUnitFactory.h"
#include "AUViewController.h"
#include "AudioUnitError.h"
#include "DispatchQueue.h"

AUAudioUnit::AUAudioUnit()
    : renderState_(std::make_shared<RenderState>())
{
}

void AUAudioUnit::initWithComponentDescription(const AudioComponentDescription& description,
                                               AudioComponentInstantiationOptions)
{
    if (description.componentType == 0 || description.componentSubType == 0 || description.componentManufacturer == 0)
        throw AudioUnitError(kAudioUnitErr_FailedInitialization,
                             "The component description names no component: type, subtype and manufacturer are "
                             "required.");
    componentDescription_ = description;
}

void AUAudioUnit::allocateRenderResources()
{
    renderState_->allocated.store(false, std::memory_order_release);
    internalAllocateRenderResources();
    AUInternalRenderBlock block = internalRenderBlock();
    if (!block)
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, "The audio unit has no render block.");
    renderState_->block = std::move(block);
    renderState_->allocated.store(true, std::memory_order_release);
}

void AUAudioUnit::deallocateRenderResources()
{
    internalDeallocateRenderResources();
    renderState_->allocated.store(false, std::memory_order_release);
    renderState_->block = nullptr;
}

AURenderBlock AUAudioUnit::renderBlock() const
{
    return [state = renderState_](AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
                                  AUAudioFrameCount frameCount, std::int64_t outputBusNumber,
                                  AudioBufferList* outputData, const AURenderPullInputBlock& pullInputBlock) {
        if (!state->allocated.load(std::memory_order_acquire))
            return kAudioUnitErr_Uninitialized;
        return state->block(actionFlags, timestamp, frameCount, outputBusNumber, outputData, nullptr, pullInputBlock);
    };
}

void AUAudioUnit::reset() {}

std::vector<std::size_t>
AUAudioUnit::supportedViewConfigurations(const std::vector<AUAudioUnitViewConfiguration>& availableViewConfigurations)
{
    std::vector<std::size_t> indices;
    for (std::size_t index = 0; index < availableViewConfigurations.size(); ++index)
        indices.push_back(index);
    return indices;
}

AUAudioFrameCount AUAudioUnit::maximumFramesToRender() const
{
    return maximumFramesToRender_.load(std::memory_order_relaxed);
}

void AUAudioUnit::setMaximumFramesToRender(AUAudioFrameCount frames)
{
    if (!renderResourcesAllocated())
        maximumFramesToRender_.store(frames, std::memory_order_relaxed);
}

bool AUAudioUnit::shouldBypassEffect() const { return shouldBypassEffect_.load(std::memory_order_relaxed); }

void AUAudioUnit::setShouldBypassEffect(bool bypass) { shouldBypassEffect_.store(bypass, std::memory_order_relaxed); }

std::shared_ptr<AUParameterTree> AUAudioUnit::parameterTree() const { return parameterTree_; }

void AUAudioUnit::setParameterTree(std::shared_ptr<AUParameterTree> tree) { parameterTree_ = std::move(tree); }

std::vector<AUParameterAddress> AUAudioUnit::parametersForOverview(std::int64_t) { return {}; }

bool AUAudioUnit::isMusicDeviceOrEffect() const { return false; }

std::int64_t AUAudioUnit::virtualMIDICableCount() const { return 0; }

std::vector<std::string> AUAudioUnit::MIDIOutputNames() const { return {}; }

std::shared_ptr<const AUMIDIOutputEventBlock> AUAudioUnit::MIDIOutputEventBlock() const
{
    return midiOutputEventBlock_;
}

void AUAudioUnit::setMIDIOutputEventBlock(std::shared_ptr<const AUMIDIOutputEventBlock> block)
{
    midiOutputEventBlock_ = std::move(block);
}

std::optional<PropertyListValue::Dictionary> AUAudioUnit::fullState()
{
    const std::lock_guard lock(hostMutex_);
    return fullState_;
}

void AUAudioUnit::setFullState(std::optional<PropertyListValue::Dictionary> state)
{
    const std::lock_guard lock(hostMutex_);
    fullState_ = std::move(state);
}

bool AUAudioUnit::supportsUserPresets() const { return false; }

std::vector<AUAudioUnitPreset> AUAudioUnit::factoryPresets() { return {}; }

std::optional<AUAudioUnitPreset> AUAudioUnit::currentPreset() const
{
    const std::lock_guard lock(hostMutex_);
    return currentPreset_;
}

void AUAudioUnit::setCurrentPreset(std::optional<AUAudioUnitPreset> preset)
{
    const std::lock_guard lock(hostMutex_);
    currentPreset_ = std::move(preset);
}

PropertyListValue::Dictionary AUAudioUnit::presetState(const AUAudioUnitPreset&) { return {}; }

bool AUAudioUnit::canPerformInput() const { return false; }

bool AUAudioUnit::canPerformOutput() const { return false; }

bool AUAudioUnit::canProcessInPlace() const { return false; }

std::vector<int> AUAudioUnit::channelCapabilities() const { return {}; }

std::optional<std::vector<int>> AUAudioUnit::channelMap() const { return channelMap_; }

void AUAudioUnit::setChannelMap(std::optional<std::vector<int>> map) { channelMap_ = std::move(map); }

void AUAudioUnit::internalAllocateRenderResources() {}

void AUAudioUnit::internalDeallocateRenderResources() {}

std::optional<std::string> AUAudioUnit::contextName() const
{
    const std::lock_guard lock(hostMutex_);
    return contextName_;
}

void AUAudioUnit::setContextName(std::optional<std::string> name)
{
    const std::lock_guard lock(hostMutex_);
    contextName_ = std::move(name);
}

void AUAudioUnit::setFactory(const std::shared_ptr<AUAudioUnitFactory>& factory)
{
    const std::lock_guard lock(hostMutex_);
    factory_ = factory;
}

void AUAudioUnit::requestViewController(ViewControllerCompletion completion) const
{
    std::weak_ptr<AUAudioUnitFactory> factory;
    {
        const std::lock_guard lock(hostMutex_);
        factory = factory_;
    }
    DispatchQueue::global().async([factory = std::move(factory), completion = std::move(completion)] {
        completion(std::dynamic_pointer_cast<AUViewController>(factory.lock()));
    });
}
