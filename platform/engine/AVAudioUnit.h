#pragma once

#include <memory>

#include "AUAudioUnit.h"
#include "AVAudioNode.h"

// A node that renders through an audio unit. The node sets the unit's bus
// formats from its connections, raises the unit's maximumFramesToRender to the
// engine's slice when it is lower, and allocates the unit's render resources
// before the first render: when the engine prepares or starts, or when the
// unit is attached to an engine that already has. A format change reallocates
// an allocated unit; detaching deallocates it. The unit pulls its input
// through a block that renders whatever is connected to the node's input.
class AVAudioUnit : public AVAudioNode {
public:
    explicit AVAudioUnit(std::shared_ptr<AUAudioUnit> audioUnit);
    ~AVAudioUnit() override;

    const std::shared_ptr<AUAudioUnit>& auAudioUnit() const { return audioUnit_; }

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
    AURenderPullInputBlock pullInput_;
    // Changed only behind the engine's closed render gate.
    AURenderBlock renderBlock_;
    AUAudioFrameCount framesPerSlice_ = 0;
    bool allocated_ = false;
};
