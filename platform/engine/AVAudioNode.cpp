#include "AVAudioNode.h"

#include "AudioEngineConstants.h"

std::shared_ptr<AVAudioFormat> AVAudioNode::inputFormat(AVAudioNodeBus bus) const { return format(inputFormats_, bus); }

std::shared_ptr<AVAudioFormat> AVAudioNode::outputFormat(AVAudioNodeBus bus) const
{
    return format(outputFormats_, bus);
}

std::shared_ptr<AVAudioFormat>
AVAudioNode::format(const std::map<AVAudioNodeBus, std::shared_ptr<AVAudioFormat>>& formats, AVAudioNodeBus bus) const
{
    std::lock_guard lock(mutex_);
    const auto found = formats.find(bus);
    if (found != formats.end())
        return found->second;
    return AVAudioFormat::standardFormat(kAudioEngineSampleRate, kAudioEngineChannels);
}

AVAudioEngine* AVAudioNode::engine() const
{
    std::lock_guard lock(mutex_);
    return engine_;
}

void AVAudioNode::setEngine(AVAudioEngine* engine)
{
    std::lock_guard lock(mutex_);
    engine_ = engine;
}

bool AVAudioNode::setInputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format)
{
    std::lock_guard lock(mutex_);
    inputFormats_[bus] = format;
    return true;
}

bool AVAudioNode::setOutputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format)
{
    std::lock_guard lock(mutex_);
    outputFormats_[bus] = format;
    return true;
}

void AVAudioNode::prepareForRender(AUAudioFrameCount) {}

void AVAudioNode::releaseRenderResources() {}
