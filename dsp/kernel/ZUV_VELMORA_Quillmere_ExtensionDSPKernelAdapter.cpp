#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

#include <algorithm>

#include "AudioUnitError.h"
#include "ScopedDenormalFlush.h"

namespace {

constexpr double kDefaultSampleRate = 48000.0;
constexpr AVAudioChannelCount kChannels = 2;

// Addresses outside the signed range are not part of the scheme.
AUParameterAddress addressOf(std::int32_t address)
{
    return address < 0 ? ~AUParameterAddress{0} : static_cast<AUParameterAddress>(address);
}

} // namespace

ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter()
{
    const auto format = AVAudioFormat::standardFormat(kDefaultSampleRate, kChannels);
    _kernel.init(format->channelCount(), format->sampleRate());
    _inputBus.init(format, kChannels);
    _outputBus = AUAudioUnitBus::make(format);
    _outputBus->setMaximumChannelCount(kChannels);
}

std::shared_ptr<AUAudioUnitBus> ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::inputBus() const
{
    return _inputBus.bus;
}

std::shared_ptr<AUAudioUnitBus> ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::outputBus() const
{
    return _outputBus;
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setParameter(const AUParameter& parameter, AUValue value)
{
    _kernel.setParameter(parameter.address(), value);
}

AUValue ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::valueForParameter(const AUParameter& parameter) const
{
    return _kernel.getParameter(parameter.address());
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setAutomationRanges(
    const std::vector<std::shared_ptr<AUParameter>>& parameters)
{
    for (const auto& parameter : parameters)
        _kernel.setAutomationRange(parameter->address(), parameter->minValue(), parameter->maxValue());
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setParameterEx(std::int32_t address, float value)
{
    _kernel.setParameter(addressOf(address), value);
}

float ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getParameterEx(std::int32_t address) const
{
    return _kernel.getParameter(addressOf(address));
}

AUAudioFrameCount ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::maximumFramesToRender() const
{
    return static_cast<AUAudioFrameCount>(_kernel.getMaximumFramesToRender());
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setMaximumFramesToRender(AUAudioFrameCount frames)
{
    if (_allocated.load(std::memory_order_relaxed))
        return;
    const AUAudioFrameCount limit = ZUV_VELMORA_Quillmere_Extension_DSPKernel::kWorkFrames;
    _kernel.setMaximumFramesToRender(static_cast<std::int32_t>(std::min(frames, limit)));
}

AUAudioUnitStatus ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::allocateRenderResources()
{
    deallocateRenderResources();
    if (!busFormatsSupported())
        return kAudioUnitErr_FormatNotSupported;
    _inputBus.allocateRenderResources(maximumFramesToRender());
    if (_inputBus.mutableAudioBufferList == nullptr)
        return kAudioUnitErr_FailedInitialization;
    const auto& format = _outputBus->format();
    _kernel.init(format->channelCount(), format->sampleRate());
    _kernel.reset();
    _allocated.store(true, std::memory_order_relaxed);
    return noErr;
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::deallocateRenderResources()
{
    _allocated.store(false, std::memory_order_relaxed);
    _inputBus.deallocateRenderResources();
}

// The kernel reads a left and a right input and writes a left and a right
// output: on any other arrangement it would process what it never wrote.
bool ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::busFormatsSupported() const
{
    return _inputBus.bus->format()->channelCount() == kChannels && _outputBus->format()->channelCount() == kChannels;
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::reset()
{
    _kernel.requestReset();
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setMathPath(VELMORA::BinMath::Path path)
{
    _kernel.setMathPath(path);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setBypass(bool bypass)
{
    _kernel.setBypassed(bypass);
}

bool ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::shouldBypassEffect() const
{
    return _kernel.getBypassed();
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setShouldBypassEffect(bool bypass)
{
    setBypass(bypass);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setMIDIThru(bool on)
{
    _kernel.setMIDIThru(on);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setAUMIDIOutputEventBlock(
    const std::shared_ptr<const AUMIDIOutputEventBlock>& block)
{
    _outputEventBlock.store(block);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setAUMIDIOutputEventBlockFromRenderThread(
    const std::shared_ptr<const AUMIDIOutputEventBlock>& block)
{
    _outputEventBlock.storeFromRenderThread(block);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setAUHostMusicalContextBlock(AUHostMusicalContextBlock block)
{
    _musicalContext = std::move(block);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setAUScheduleMIDIEventBlock(AUScheduleMIDIEventBlock block)
{
    _scheduleMIDIEventBlock = std::move(block);
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::setAUHostTransportStateBlock(AUHostTransportStateBlock block)
{
    _transportStateBlock = std::move(block);
}

AUAudioFrameCount ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::frameLimit() const
{
    return std::min(maximumFramesToRender(), _inputBus.capacity());
}

AUAudioUnitStatus ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::render(
    AudioUnitRenderActionFlags*, const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount, std::int64_t,
    AudioBufferList* outputData, const AURenderEvent* realtimeEventListHead,
    const AURenderPullInputBlock& pullInputBlock)
{
    return renderCycle(timestamp, frameCount, outputData, realtimeEventListHead, pullInputBlock, false);
}

AUInternalRenderBlock ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::internalRenderBlock()
{
    return [this](AudioUnitRenderActionFlags*, const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                  std::int64_t, AudioBufferList* outputData, const AURenderEvent* realtimeEventListHead,
                  const AURenderPullInputBlock& pullInputBlock) {
        return renderCycle(timestamp, frameCount, outputData, realtimeEventListHead, pullInputBlock, true);
    };
}

AUAudioUnitStatus ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::renderCycle(
    const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount, AudioBufferList* outputData,
    const AURenderEvent* realtimeEventListHead, const AURenderPullInputBlock& pullInputBlock, bool pullRequired)
{
    AudioBufferList* in = _inputBus.mutableAudioBufferList;
    if (in == nullptr)
        return kAudioUnitErr_Uninitialized;
    if (outputData == nullptr)
        return kAudio_ParamError;
    if (frameCount > frameLimit())
        return kAudioUnitErr_TooManyFramesToProcess;
    if (pullInputBlock || pullRequired) {
        AudioUnitRenderActionFlags pullFlags = 0;
        const AUAudioUnitStatus status = _inputBus.pullInput(&pullFlags, timestamp, frameCount, 0, pullInputBlock);
        if (status != noErr)
            return status;
        renderInPlaceIfUnbacked(in, outputData, frameCount);
    } else if (holdsStereo(*outputData)) {
        // A host that processes in place hands the input in the output buffers.
        in = outputData;
    } else {
        return kAudioUnitErr_NoConnection;
    }

    ScopedDenormalFlush flush;
    const AUMIDIOutputEventBlock* midiOutput = _outputEventBlock.borrow();
    _kernel.setBuffers(in, outputData);
    _kernel.processWithEvents(timestamp, frameCount, realtimeEventListHead, midiOutput);
    _outputEventBlock.release();
    return noErr;
}

void ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::renderInPlaceIfUnbacked(AudioBufferList* in,
                                                                               AudioBufferList* out,
                                                                               AUAudioFrameCount frameCount) const
{
    if (out->mNumberBuffers == 0 || out->mBuffers[0].mData != nullptr)
        return;
    const std::uint32_t shared = std::min({out->mNumberBuffers, in->mNumberBuffers, AudioBufferList::kMaxBuffers});
    for (std::uint32_t i = 0; i < shared; ++i) {
        out->mBuffers[i].mData = in->mBuffers[i].mData;
        out->mBuffers[i].mDataByteSize = frameCount * static_cast<std::uint32_t>(sizeof(float));
    }
}

bool ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::holdsStereo(const AudioBufferList& list)
{
    return list.mNumberBuffers >= kChannels && list.mBuffers[0].mData != nullptr && list.mBuffers[1].mData != nullptr;
}

const float* ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getFrequenciesA() const
{
    return _kernel.getFrequencies();
}

float* ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getBands(std::int32_t kind)
{
    return _kernel.getBands(kind);
}

std::int32_t ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getAnalysisSize()
{
    return _kernel.getAnalysisSize();
}

const float* ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getChromaticMagnitutes()
{
    return _kernel.getMagnitudes();
}

float ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getChromaticFrequency(std::int32_t note)
{
    return _kernel.getChromaticFrequency(note);
}

float ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getPeakInput() const
{
    return _kernel.getPeakInput();
}

float ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getPeakOutput() const
{
    return _kernel.getPeakOutput();
}

float* ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter::getFrequenciesD()
{
    return _kernel.getBinFrequencies();
}
