#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "AVAudioFormat.h"
#include "AudioBufferList.h"
#include "AudioTimeStamp.h"
#include "AudioTypes.h"

using AVAudioNodeBus = std::uint32_t;

class AVAudioEngine;

// A node of an audio engine's graph. Nodes are shared: the engine keeps the
// nodes attached to it, and so may whoever made them.
class AVAudioNode : public std::enable_shared_from_this<AVAudioNode> {
public:
    virtual ~AVAudioNode() = default;
    AVAudioNode(const AVAudioNode&) = delete;
    AVAudioNode& operator=(const AVAudioNode&) = delete;

    // The format of a bus: that of its last connection, else the engine's
    // standard stereo format.
    virtual std::shared_ptr<AVAudioFormat> inputFormat(AVAudioNodeBus bus) const;
    virtual std::shared_ptr<AVAudioFormat> outputFormat(AVAudioNodeBus bus) const;
    // How many input buses the node has; 0 for a source.
    virtual AVAudioNodeBus numberOfInputs() const = 0;

    // The engine the node is attached to, or null.
    AVAudioEngine* engine() const;

protected:
    AVAudioNode() = default;

    // The engine calls these while it changes its graph: its graph locked, its
    // render gate closed. A node refuses (false) a format it cannot take.
    virtual bool setInputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format);
    virtual bool setOutputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format);
    virtual void prepareForRender(AUAudioFrameCount framesPerSlice);
    virtual void releaseRenderResources();

    // Render thread: writes `frames` frames into every buffer of `output`.
    virtual void render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output) = 0;

    // Render thread: the engine that renders the node. It changes only while
    // that engine's render gate is closed.
    AVAudioEngine* renderingEngine() const { return engine_; }

private:
    friend class AVAudioEngine;

    void setEngine(AVAudioEngine* engine);
    std::shared_ptr<AVAudioFormat> format(const std::map<AVAudioNodeBus, std::shared_ptr<AVAudioFormat>>& formats,
                                          AVAudioNodeBus bus) const;

    mutable std::mutex mutex_;
    std::map<AVAudioNodeBus, std::shared_ptr<AVAudioFormat>> inputFormats_;
    std::map<AVAudioNodeBus, std::shared_ptr<AVAudioFormat>> outputFormats_;
    AVAudioEngine* engine_ = nullptr;
};
