#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "AUAudioUnit.h"
#include "AUAudioUnitFactory.h"
#include "AVAudioNode.h"
#include "AVAudioUnitComponentManager.h"
#include "AudioUnitError.h"

// A node that renders through an audio unit. The node sets the unit's bus
// formats from its connections, raises the unit's maximumFramesToRender to the
// engine's slice when it is lower, and allocates the unit's render resources
// before the first render: when the engine prepares or starts, or when the
// unit is attached to an engine that already has. A format change reallocates
// an allocated unit; detaching deallocates it. The unit pulls its input
// through a block that renders whatever is connected to the node's input.
class AVAudioUnit : public AVAudioNode {
public:
    using InstantiationCompletion = std::function<void(std::shared_ptr<AVAudioUnit>, std::optional<AudioUnitError>)>;

    // `plugInInstance`: the plug-in instance that made the unit, kept alive
    // with the node so that it can still hand out the unit's view controller.
    explicit AVAudioUnit(std::shared_ptr<AUAudioUnit> audioUnit,
                         std::shared_ptr<AUAudioUnitFactory> plugInInstance = nullptr);

    // Makes a node for the first component of `components` that `description`
    // matches. Returns at once; the completion runs once, on a worker thread,
    // with the node or, when the unit cannot be made, the error.
    static void instantiate(const AudioComponentDescription& description, AudioComponentInstantiationOptions options,
                            InstantiationCompletion completion,
                            std::shared_ptr<const AVAudioUnitComponentManager> components =
                                AVAudioUnitComponentManager::sharedAudioUnitComponentManager());
    ~AVAudioUnit() override;

    const std::shared_ptr<AUAudioUnit>& auAudioUnit() const { return audioUnit_; }
    const std::shared_ptr<AUAudioUnitFactory>& plugInInstance() const { return plugInInstance_; }

    // The formats of the unit's buses.
    std::shared_ptr<AVAudioFormat> inputFormat(AVAudioNodeBus bus) const override;
    std::shared_ptr<AVAudioFormat> outputFormat(AVAudioNodeBus bus) const override;
    AVAudioNodeBus numberOfInputs() const override;

protected:
    bool setInputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format) override;
    bool setOutputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format) override;
    void prepareForRender(AUAudioFrameCount framesPerSlice) override;
    void releaseRenderResources() override;
    void render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output) override;

private:
    bool setBusFormat(const std::shared_ptr<AUAudioUnitBusArray>& busses, AVAudioNodeBus bus,
                      const std::shared_ptr<AVAudioFormat>& format);
    void allocate();

    std::shared_ptr<AUAudioUnit> audioUnit_;
    std::shared_ptr<AUAudioUnitFactory> plugInInstance_;
    AURenderPullInputBlock pullInput_;
    // Changed only behind the engine's closed render gate.
    AURenderBlock renderBlock_;
    AUAudioFrameCount framesPerSlice_ = 0;
    bool allocated_ = false;
};
