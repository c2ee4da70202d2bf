#include "AVAudioUnit.h"

#include "AVAudioEngine.h"
#include "ChannelMapping.h"
#include "Console.h"
#include "AudioUnitError.h"
#include "DispatchQueue.h"

AVAudioUnit::AVAudioUnit(std::shared_ptr<AUAudioUnit> audioUnit, std::shared_ptr<AUAudioUnitFactory> plugInInstance)
    : audioUnit_(std::move(audioUnit)), plugInInstance_(std::move(plugInInstance))
{
    pullInput_ = [this](AudioUnitRenderActionFlags*, const AudioTimeStamp* timestamp, AUAudioFrameCount frames,
                        std::int64_t, AudioBufferList* input) {
        renderingEngine()->mixInputs(*this, *timestamp, frames, *input);
        return noErr;
    };
}

AVAudioUnit::~AVAudioUnit() { releaseRenderResources(); }

void AVAudioUnit::instantiate(const AudioComponentDescription& description, AudioComponentInstantiationOptions options,
                              InstantiationCompletion completion,
                              std::shared_ptr<const AVAudioUnitComponentManager> components)
{
    DispatchQueue::global().async([description, options, completion = std::move(completion),
                                   components = std::move(components)] {
        std::shared_ptr<AVAudioUnit> node;
        try {
            auto loaded = components->loadAudioUnit(description, options);
            node = std::make_shared<AVAudioUnit>(std::move(loaded.audioUnit), std::move(loaded.factory));
        } catch (const AudioUnitError& error) {
            completion(nullptr, error);
            return;
        }
        completion(std::move(node), std::nullopt);
    });
}

std::shared_ptr<AVAudioFormat> AVAudioUnit::inputFormat(AVAudioNodeBus bus) const
{
    const auto busses = audioUnit_->inputBusses();
    const auto found = busses ? (*busses)[bus] : nullptr;
    return found ? found->format() : nullptr;
}

std::shared_ptr<AVAudioFormat> AVAudioUnit::outputFormat(AVAudioNodeBus bus) const
{
    const auto busses = audioUnit_->outputBusses();
    const auto found = busses ? (*busses)[bus] : nullptr;
    return found ? found->format() : nullptr;
}

AVAudioNodeBus AVAudioUnit::numberOfInputs() const
{
    const auto busses = audioUnit_->inputBusses();
    return busses ? static_cast<AVAudioNodeBus>(busses->count()) : 0;
}

bool AVAudioUnit::setInputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format)
{
    return setBusFormat(audioUnit_->inputBusses(), bus, format);
}

bool AVAudioUnit::setOutputFormat(AVAudioNodeBus bus, const std::shared_ptr<AVAudioFormat>& format)
{
    return setBusFormat(audioUnit_->outputBusses(), bus, format);
}

bool AVAudioUnit::setBusFormat(const std::shared_ptr<AUAudioUnitBusArray>& busses, AVAudioNodeBus bus,
                               const std::shared_ptr<AVAudioFormat>& format)
{
    const auto found = busses ? (*busses)[bus] : nullptr;
    if (!found)
        return false;
    const auto previous = found->format();
    if (previous && previous->sampleRate() == format->sampleRate()
        && previous->channelCount() == format->channelCount())
        return true;
    if (!found->setFormat(format))
        return false;
    if (allocated_) {
        releaseRenderResources();
        allocate();
    }
    return true;
}

void AVAudioUnit::prepareForRender(AUAudioFrameCount framesPerSlice)
{
    framesPerSlice_ = framesPerSlice;
    if (!allocated_)
        allocate();
}

void AVAudioUnit::allocate()
{
    // The limit changes only while the unit has no render resources.
    if (audioUnit_->maximumFramesToRender() < framesPerSlice_) {
        if (audioUnit_->renderResourcesAllocated())
            audioUnit_->deallocateRenderResources();
        audioUnit_->setMaximumFramesToRender(framesPerSlice_);
    }
    try {
        audioUnit_->allocateRenderResources();
    } catch (const AudioUnitError& error) {
        Console::print(std::string("AVAudioUnit::ERROR: The audio unit could not allocate its render resources: ")
                       + error.what());
        return;
    }
    renderBlock_ = audioUnit_->renderBlock();
    allocated_ = true;
}

void AVAudioUnit::releaseRenderResources()
{
    if (!allocated_)
        return;
    audioUnit_->deallocateRenderResources();
    renderBlock_ = nullptr;
    allocated_ = false;
}

// A unit that fails a cycle gives silence for it.
void AVAudioUnit::render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output)
{
    AudioUnitRenderActionFlags flags = 0;
    if (!allocated_ || renderBlock_(&flags, &timestamp, frames, 0, &output, pullInput_) != noErr)
        silence(output, frames);
}
