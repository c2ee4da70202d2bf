#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "AUAudioUnitBusArray.h"
#include "AUAudioUnitPreset.h"
#include "AUAudioUnitViewConfiguration.h"
#include "AUBlockTypes.h"
#include "AUParameterTree.h"
#include "AudioComponentDescription.h"
#include "AudioComponentInstantiationOptions.h"
#include "AudioTypes.h"
#include "PropertyListValue.h"

// Base of every audio unit. The host-facing side (allocation, the render block)
// is not overridable: it keeps the unit's allocated state and calls the
// overridable side (internalAllocateRenderResources, internalRenderBlock and the
// virtual properties) that a unit implements.
class AUAudioUnitFactory;
class AUViewController;

class AUAudioUnit {
public:
    using ViewControllerCompletion = std::function<void(std::shared_ptr<AUViewController>)>;

    // The frame limit until a host sets one.
    static constexpr AUAudioFrameCount kDefaultMaximumFramesToRender = 4096;

    virtual ~AUAudioUnit() = default;
    AUAudioUnit(const AUAudioUnit&) = delete;
    AUAudioUnit& operator=(const AUAudioUnit&) = delete;

    const AudioComponentDescription& componentDescription() const { return componentDescription_; }

    // A name the host gives the unit's context.
    std::optional<std::string> contextName() const;
    void setContextName(std::optional<std::string> name);

    // Asks the plug-in instance that made the unit for its view controller;
    // the completion runs once, on a worker thread, with none when that
    // instance is gone or provides no view controller.
    void requestViewController(ViewControllerCompletion completion) const;
    // Recorded by the component loader: the plug-in instance that made the
    // unit. Held weakly, since that instance usually holds the unit.
    void setFactory(const std::shared_ptr<AUAudioUnitFactory>& factory);

    // Prepares the unit for rendering (again, when already allocated) and takes
    // the unit's internal render block for the render block. Throws the unit's
    // AudioUnitError and stays unallocated when the unit cannot prepare.
    void allocateRenderResources();
    void deallocateRenderResources();
    bool renderResourcesAllocated() const { return renderState_->allocated.load(std::memory_order_acquire); }
    // Renders through the internal render block taken at the last allocation; a
    // unit without render resources refuses with kAudioUnitErr_Uninitialized.
    AURenderBlock renderBlock() const;

    virtual void reset();
    // The indices of the configurations the unit's interface supports.
    virtual std::vector<std::size_t>
    supportedViewConfigurations(const std::vector<AUAudioUnitViewConfiguration>& availableViewConfigurations);

    virtual std::shared_ptr<AUAudioUnitBusArray> inputBusses() = 0;
    virtual std::shared_ptr<AUAudioUnitBusArray> outputBusses() = 0;

    // The most frames one render call may ask for. It sizes what allocation
    // prepares, so it changes only while the unit has no render resources: a
    // value set while they are allocated is ignored.
    virtual AUAudioFrameCount maximumFramesToRender() const;
    virtual void setMaximumFramesToRender(AUAudioFrameCount frames);
    virtual bool shouldBypassEffect() const;
    virtual void setShouldBypassEffect(bool bypass);

    virtual std::shared_ptr<AUParameterTree> parameterTree() const;
    virtual void setParameterTree(std::shared_ptr<AUParameterTree> tree);
    virtual std::vector<AUParameterAddress> parametersForOverview(std::int64_t count);

    virtual bool isMusicDeviceOrEffect() const;
    virtual std::int64_t virtualMIDICableCount() const;
    virtual std::vector<std::string> MIDIOutputNames() const;
    virtual std::shared_ptr<const AUMIDIOutputEventBlock> MIDIOutputEventBlock() const;
    virtual void setMIDIOutputEventBlock(std::shared_ptr<const AUMIDIOutputEventBlock> block);

    // The unit's whole state as a property-list dictionary, for a host's saved
    // project. The state and the current preset may be read and written from
    // any thread but the render thread.
    virtual std::optional<PropertyListValue::Dictionary> fullState();
    virtual void setFullState(std::optional<PropertyListValue::Dictionary> state);
    virtual bool supportsUserPresets() const;
    virtual std::vector<AUAudioUnitPreset> factoryPresets();
    virtual std::optional<AUAudioUnitPreset> currentPreset() const;
    virtual void setCurrentPreset(std::optional<AUAudioUnitPreset> preset);
    // The state a preset would give the unit, without selecting it.
    virtual PropertyListValue::Dictionary presetState(const AUAudioUnitPreset& preset);

    virtual bool canPerformInput() const;
    virtual bool canPerformOutput() const;
    virtual bool canProcessInPlace() const;
    // Pairs of input and output channel counts; empty when the unit names none.
    virtual std::vector<int> channelCapabilities() const;
    virtual std::optional<std::vector<int>> channelMap() const;
    virtual void setChannelMap(std::optional<std::vector<int>> map);

    // Callbacks a host offers the unit; empty when the host offers none.
    const AUHostMusicalContextBlock& musicalContextBlock() const { return musicalContextBlock_; }
    void setMusicalContextBlock(AUHostMusicalContextBlock block) { musicalContextBlock_ = std::move(block); }
    const AUHostTransportStateBlock& transportStateBlock() const { return transportStateBlock_; }
    void setTransportStateBlock(AUHostTransportStateBlock block) { transportStateBlock_ = std::move(block); }
    const AUScheduleMIDIEventBlock& scheduleMIDIEventBlock() const { return scheduleMIDIEventBlock_; }
    void setScheduleMIDIEventBlock(AUScheduleMIDIEventBlock block) { scheduleMIDIEventBlock_ = std::move(block); }

protected:
    AUAudioUnit();

    // Completes the base once the unit has built what it needs. Throws an
    // AudioUnitError for a description that names no concrete component (type,
    // subtype or manufacturer 0).
    void initWithComponentDescription(const AudioComponentDescription& description,
                                      AudioComponentInstantiationOptions options);

    virtual void internalAllocateRenderResources();
    virtual void internalDeallocateRenderResources();
    virtual AUInternalRenderBlock internalRenderBlock() = 0;

private:
    // Shared with every render block handed out, so that a block outliving the
    // unit still finds its state. The block is replaced only while the host is
    // not rendering (allocation and deallocation); the flag is what a render
    // call checks first.
    struct RenderState {
        std::atomic<bool> allocated { false };
        AUInternalRenderBlock block;
    };

    AudioComponentDescription componentDescription_;
    // Guards what hosts set from threads of their own: the context name, the
    // full state and the current preset.
    mutable std::mutex hostMutex_;
    std::optional<std::string> contextName_;
    std::weak_ptr<AUAudioUnitFactory> factory_;
    std::shared_ptr<RenderState> renderState_;
    std::atomic<AUAudioFrameCount> maximumFramesToRender_ { kDefaultMaximumFramesToRender };
    std::atomic<bool> shouldBypassEffect_ { false };
    std::shared_ptr<AUParameterTree> parameterTree_;
    std::shared_ptr<const AUMIDIOutputEventBlock> midiOutputEventBlock_;
    std::optional<PropertyListValue::Dictionary> fullState_;
    std::optional<AUAudioUnitPreset> currentPreset_;
    std::optional<std::vector<int>> channelMap_;
    AUHostMusicalContextBlock musicalContextBlock_;
    AUHostTransportStateBlock transportStateBlock_;
    AUScheduleMIDIEventBlock scheduleMIDIEventBlock_;
};
