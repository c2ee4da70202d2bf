#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AVAudioMixerNode.h"
#include "AVAudioNode.h"
#include "AVAudioOutputNode.h"
#include "AVAudioPCMBuffer.h"
#include "AudioOutputDevice.h"
#include "RenderGate.h"

// A graph of audio nodes that renders into an output device. Every change of
// the graph may come from any thread; the render thread never waits for one:
// while the graph changes, it renders silence.
//
// Each output bus feeds at most one input: connecting it again moves it. A
// connection carries one format at the engine's rate; without a format given,
// the source's output format is taken. A connection that cannot be made (a
// node not attached, a loop, a wrong rate, a format a node refuses, no free
// input bus) is reported on the Console and not made.
class AVAudioEngine {
public:
    AVAudioEngine();
    // Stops the output thread and detaches every node.
    ~AVAudioEngine();
    AVAudioEngine(const AVAudioEngine&) = delete;
    AVAudioEngine& operator=(const AVAudioEngine&) = delete;

    void attach(const std::shared_ptr<AVAudioNode>& node);
    // Breaks the node's connections as well.
    void detach(const std::shared_ptr<AVAudioNode>& node);
    void connect(const std::shared_ptr<AVAudioNode>& source, const std::shared_ptr<AVAudioNode>& destination,
                 const std::shared_ptr<AVAudioFormat>& format);
    void disconnectNodeInput(const std::shared_ptr<AVAudioNode>& node);
    bool isAttached(const AVAudioNode& node) const;
    // The node whose output feeds the node's input bus, or null.
    std::shared_ptr<AVAudioNode> inputConnectionSource(const AVAudioNode& node, AVAudioNodeBus bus) const;

    // Made, attached and connected to the output node on first use.
    std::shared_ptr<AVAudioMixerNode> mainMixerNode();
    const std::shared_ptr<AVAudioOutputNode>& outputNode() const { return outputNode_; }

    // Allocates what rendering needs (the audio units' render resources).
    void prepare();
    // Prepares and starts the output device: the one set, else the system's
    // default device, else a null output when no device can be opened.
    // Throws AVError when the device cannot start.
    void start();
    void stop();
    bool isRunning() const { return running_.load(); }

    // Takes effect at the next start; ignored (and reported) while running.
    void setOutputDevice(std::shared_ptr<AudioOutputDevice> device);

    // Render thread, for nodes that pull their inputs: renders every node
    // connected to the node's inputs and writes their sum into `output`,
    // mapping channels; silence when nothing is connected.
    void mixInputs(const AVAudioNode& node, const AudioTimeStamp& timestamp, AUAudioFrameCount frames,
                   AudioBufferList& output);

private:
    struct Connection {
        AVAudioNode* source;
        AVAudioNode* destination;
        AVAudioNodeBus destinationBus;
        std::shared_ptr<AVAudioFormat> format;
        std::shared_ptr<AVAudioPCMBuffer> scratch;
    };

    void attachLocked(const std::shared_ptr<AVAudioNode>& node);
    bool refuseConnection(const AVAudioNode& source, const AVAudioNode& destination,
                          const std::shared_ptr<AVAudioFormat>& format) const;
    bool feeds(const AVAudioNode& upstream, const AVAudioNode& node) const;
    bool freeInputBus(const AVAudioNode& node, AVAudioNodeBus& bus) const;
    void removeConnections(const AVAudioNode* source, const AVAudioNode* destination);
    void connectLocked(AVAudioNode& source, AVAudioNode& destination, const std::shared_ptr<AVAudioFormat>& format);
    void prepareLocked();
    void renderOutput(AUAudioFrameCount frames, AudioBufferList& output);
    void renderSlice(AUAudioFrameCount frames, AudioBufferList& output);

    mutable std::mutex mutex_;
    RenderGate gate_;
    std::vector<std::shared_ptr<AVAudioNode>> nodes_;
    std::vector<Connection> connections_;
    std::shared_ptr<AVAudioOutputNode> outputNode_;
    std::shared_ptr<AVAudioMixerNode> mainMixerNode_;
    std::shared_ptr<AudioOutputDevice> device_;
    bool prepared_ = false;
    std::atomic<bool> running_ { false };
    AudioTimeStamp timestamp_;
};
