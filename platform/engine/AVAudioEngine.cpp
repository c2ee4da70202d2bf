#include "AVAudioEngine.h"

#include <algorithm>

#include "AVError.h"
#include "AudioEngineConstants.h"
#include "ChannelMapping.h"
#include "Console.h"
#include "NullAudioOutput.h"
#include "PortAudioOutput.h"

namespace {

void report(const std::string& text) { Console::print("AVAudioEngine::ERROR: " + text); }

std::shared_ptr<AudioOutputDevice> defaultOutputDevice()
{
    if (auto device = PortAudioOutput::open())
        return device;
    Console::print("AVAudioEngine: No audio output device could be opened; the engine runs without sound.");
    return std::make_shared<NullAudioOutput>();
}

} // namespace

AVAudioEngine::AVAudioEngine()
    : outputNode_(std::make_shared<AVAudioOutputNode>())
{
    timestamp_.mFlags = kAudioTimeStampSampleTimeValid;
    attach(outputNode_);
}

AVAudioEngine::~AVAudioEngine()
{
    stop();
    std::lock_guard lock(mutex_);
    RenderGate::Closed closed(gate_);
    connections_.clear();
    for (const auto& node : nodes_) {
        node->releaseRenderResources();
        node->setEngine(nullptr);
    }
}

void AVAudioEngine::attach(const std::shared_ptr<AVAudioNode>& node)
{
    std::lock_guard lock(mutex_);
    attachLocked(node);
}

void AVAudioEngine::attachLocked(const std::shared_ptr<AVAudioNode>& node)
{
    if (!node || node->engine() == this)
        return;
    if (node->engine() != nullptr) {
        report("A node that belongs to another engine cannot be attached.");
        return;
    }
    RenderGate::Closed closed(gate_);
    node->setEngine(this);
    nodes_.push_back(node);
    if (prepared_)
        node->prepareForRender(kAudioEngineFramesPerSlice);
}

void AVAudioEngine::detach(const std::shared_ptr<AVAudioNode>& node)
{
    std::lock_guard lock(mutex_);
    if (!node || node->engine() != this || node == outputNode_ || node == mainMixerNode_)
        return;
    {
        RenderGate::Closed closed(gate_);
        removeConnections(node.get(), nullptr);
        removeConnections(nullptr, node.get());
        node->releaseRenderResources();
        node->setEngine(nullptr);
    }
    // The engine's reference may be the last one: the node goes after the
    // render thread may use the graph again.
    const auto found = std::find(nodes_.begin(), nodes_.end(), node);
    const std::shared_ptr<AVAudioNode> released = std::move(*found);
    nodes_.erase(found);
}

bool AVAudioEngine::isAttached(const AVAudioNode& node) const { return node.engine() == this; }

std::shared_ptr<AVAudioNode> AVAudioEngine::inputConnectionSource(const AVAudioNode& node, AVAudioNodeBus bus) const
{
    std::lock_guard lock(mutex_);
    for (const auto& connection : connections_)
        if (connection.destination == &node && connection.destinationBus == bus)
            return connection.source->shared_from_this();
    return nullptr;
}

void AVAudioEngine::connect(const std::shared_ptr<AVAudioNode>& source, const std::shared_ptr<AVAudioNode>& destination,
                            const std::shared_ptr<AVAudioFormat>& format)
{
    std::lock_guard lock(mutex_);
    if (!source || !destination) {
        report("A connection needs two nodes.");
        return;
    }
    connectLocked(*source, *destination, format ? format : source->outputFormat(0));
}

void AVAudioEngine::connectLocked(AVAudioNode& source, AVAudioNode& destination,
                                  const std::shared_ptr<AVAudioFormat>& format)
{
    if (refuseConnection(source, destination, format))
        return;
    RenderGate::Closed closed(gate_);
    removeConnections(&source, nullptr);
    AVAudioNodeBus bus = 0;
    if (destination.numberOfInputs() == 1)
        removeConnections(nullptr, &destination);
    else if (!freeInputBus(destination, bus)) {
        report("The node has no free input bus.");
        return;
    }
    if (!destination.setInputFormat(bus, format) || !source.setOutputFormat(0, format)) {
        report("A node refused the format of " + std::to_string(format->channelCount()) + " channels.");
        return;
    }
    const auto scratch = AVAudioPCMBuffer::make(format, kAudioEngineFramesPerSlice);
    connections_.push_back({ &source, &destination, bus, format, scratch });
}

bool AVAudioEngine::refuseConnection(const AVAudioNode& source, const AVAudioNode& destination,
                                     const std::shared_ptr<AVAudioFormat>& format) const
{
    if (source.engine() != this || destination.engine() != this)
        report("Only nodes attached to the engine can be connected.");
    else if (destination.numberOfInputs() == 0)
        report("The destination node has no input.");
    else if (feeds(destination, source) || &source == &destination)
        report("The connection would make a loop.");
    else if (!format)
        report("The source node has no output format.");
    else if (format->sampleRate() != kAudioEngineSampleRate)
        report("A connection must carry the engine's rate of 48000 Hz, not " + std::to_string(format->sampleRate())
               + " Hz.");
    else
        return false;
    return true;
}

// Whether `upstream` renders into `node`, directly or through other nodes.
bool AVAudioEngine::feeds(const AVAudioNode& upstream, const AVAudioNode& node) const
{
    for (const auto& connection : connections_)
        if (connection.destination == &node
            && (connection.source == &upstream || feeds(upstream, *connection.source)))
            return true;
    return false;
}

bool AVAudioEngine::freeInputBus(const AVAudioNode& node, AVAudioNodeBus& bus) const
{
    for (bus = 0; bus < node.numberOfInputs(); ++bus) {
        const bool taken = std::any_of(connections_.begin(), connections_.end(), [&](const Connection& connection) {
            return connection.destination == &node && connection.destinationBus == bus;
        });
        if (!taken)
            return true;
    }
    return false;
}

// Removes the connections from `source` (any when null) into `destination`
// (any when null).
void AVAudioEngine::removeConnections(const AVAudioNode* source, const AVAudioNode* destination)
{
    std::erase_if(connections_, [&](const Connection& connection) {
        return (source == nullptr || connection.source == source)
            && (destination == nullptr || connection.destination == destination);
    });
}

void AVAudioEngine::disconnectNodeInput(const std::shared_ptr<AVAudioNode>& node)
{
    std::lock_guard lock(mutex_);
    RenderGate::Closed closed(gate_);
    removeConnections(nullptr, node.get());
}

std::shared_ptr<AVAudioMixerNode> AVAudioEngine::mainMixerNode()
{
    std::lock_guard lock(mutex_);
    if (!mainMixerNode_) {
        mainMixerNode_ = std::make_shared<AVAudioMixerNode>();
        attachLocked(mainMixerNode_);
        connectLocked(*mainMixerNode_, *outputNode_, outputNode_->outputFormat(0));
    }
    return mainMixerNode_;
}

void AVAudioEngine::prepare()
{
    std::lock_guard lock(mutex_);
    prepareLocked();
}

void AVAudioEngine::prepareLocked()
{
    RenderGate::Closed closed(gate_);
    for (const auto& node : nodes_)
        node->prepareForRender(kAudioEngineFramesPerSlice);
    prepared_ = true;
}

void AVAudioEngine::start()
{
    std::lock_guard lock(mutex_);
    if (running_.load())
        return;
    prepareLocked();
    if (!device_)
        device_ = defaultOutputDevice();
    device_->start([this](AUAudioFrameCount frames, AudioBufferList& output) { renderOutput(frames, output); });
    running_.store(true);
}

void AVAudioEngine::stop()
{
    std::lock_guard lock(mutex_);
    if (!running_.load())
        return;
    device_->stop();
    running_.store(false);
}

void AVAudioEngine::setOutputDevice(std::shared_ptr<AudioOutputDevice> device)
{
    std::lock_guard lock(mutex_);
    if (running_.load()) {
        report("The output device cannot change while the engine runs.");
        return;
    }
    device_ = std::move(device);
}

void AVAudioEngine::renderOutput(AUAudioFrameCount frames, AudioBufferList& output)
{
    for (AUAudioFrameCount done = 0; done < frames;) {
        const AUAudioFrameCount count = std::min(frames - done, kAudioEngineFramesPerSlice);
        AudioBufferList slice = sliceOf(output, done, count);
        renderSlice(count, slice);
        done += count;
    }
}

void AVAudioEngine::renderSlice(AUAudioFrameCount frames, AudioBufferList& output)
{
    if (gate_.tryEnter()) {
        static_cast<AVAudioNode&>(*outputNode_).render(timestamp_, frames, output);
        gate_.leave();
    } else {
        silence(output, frames);
    }
    timestamp_.mSampleTime += frames;
}

void AVAudioEngine::mixInputs(const AVAudioNode& node, const AudioTimeStamp& timestamp, AUAudioFrameCount frames,
                              AudioBufferList& output)
{
    silence(output, frames);
    for (const auto& connection : connections_) {
        if (connection.destination != &node || !connection.scratch)
            continue;
        AudioBufferList input = channelsOf(*connection.scratch, connection.format->channelCount(), frames);
        connection.source->render(timestamp, frames, input);
        addMapped(input, output, frames);
    }
}
