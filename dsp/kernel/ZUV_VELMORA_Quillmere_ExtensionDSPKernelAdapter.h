#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "AUAudioUnitBus.h"
#include "AUBlockTypes.h"
#include "AUParameter.h"
#include "AURenderEvent.h"
#include "BufferedInputBus.h"
#include "MIDIOutputBlockSlot.h"
#include "ZUV_VELMORA_Quillmere_Extension_DSPKernel.h"

// The one object through which the audio unit reaches the signal processing: it
// holds the kernel and the buffered input bus, keeps the host's callback blocks
// and turns each render call into one pass of the kernel over the host's buffers.
//
// render() and internalRenderBlock() run on the render thread; everything else on
// the caller's thread. allocateRenderResources(), deallocateRenderResources()
// and setMathPath() must not overlap rendering; reset(), parameters, tables,
// meters and the MIDI output block may change or be read at any time.
class ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter {
public:
    ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter();
    ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter(const ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter&) = delete;
    ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter& operator=(const ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter&) =
        delete;

    std::shared_ptr<AUAudioUnitBus> inputBus() const;
    std::shared_ptr<AUAudioUnitBus> outputBus() const;

    // Parameters of the audio unit's tree, by their address.
    void setParameter(const AUParameter& parameter, AUValue value);
    AUValue valueForParameter(const AUParameter& parameter) const;
    // Render events are held to these parameters' ranges; events for any other
    // address are ignored. Not while rendering.
    void setAutomationRanges(const std::vector<std::shared_ptr<AUParameter>>& parameters);
    // Parameters by address (negative addresses are unknown: ignored, read as 0).
    void setParameterEx(std::int32_t address, float value);
    float getParameterEx(std::int32_t address) const;

    // At most the kernel's work buffers (4096 frames); a larger value is lowered.
    // It sizes the pull buffer, so a value set while render resources are
    // allocated is ignored. Not while allocating or deallocating.
    AUAudioFrameCount maximumFramesToRender() const;
    void setMaximumFramesToRender(AUAudioFrameCount frames);

    // The kernel processes two channels in and two out: a bus of any other
    // format is refused with kAudioUnitErr_FormatNotSupported, and a pull
    // buffer that cannot be made (a maximum of 0 frames) with
    // kAudioUnitErr_FailedInitialization. Render resources then stay deallocated.
    AUAudioUnitStatus allocateRenderResources();
    void deallocateRenderResources();
    // The next render cycle starts with the signal state cleared; until then it stands.
    void reset();
    // The vector functions of the spectral frames (the default) or the C library's.
    void setMathPath(VELMORA::BinMath::Path path);

    void setBypass(bool bypass);
    bool shouldBypassEffect() const;
    void setShouldBypassEffect(bool bypass);
    // Off at first: incoming MIDI is then ignored and nothing is sent.
    void setMIDIThru(bool on);

    // Null removes the block. Not on the render thread.
    void setAUMIDIOutputEventBlock(const std::shared_ptr<const AUMIDIOutputEventBlock>& block);
    // The same from the render thread, between cycles: no allocation, no wait, no free.
    void setAUMIDIOutputEventBlockFromRenderThread(const std::shared_ptr<const AUMIDIOutputEventBlock>& block);
    void setAUHostMusicalContextBlock(AUHostMusicalContextBlock block);
    void setAUScheduleMIDIEventBlock(AUScheduleMIDIEventBlock block);
    void setAUHostTransportStateBlock(AUHostTransportStateBlock block);

    // One render cycle. -10867 before allocateRenderResources (or after
    // deallocation); -10874 for more frames than maximumFramesToRender() or the
    // pull buffer holds, with the output untouched; a failing pull's status
    // unchanged, nothing processed. Without a pull block the host's output
    // buffers hold the input and are processed as they stand, in place; without
    // memory for both channels there is no input: -10876, nothing processed. An
    // output list whose first buffer has no memory is rendered in place into the
    // pull buffer, each buffer lent sized to the cycle.
    AUAudioUnitStatus render(AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
                             AUAudioFrameCount frameCount, std::int64_t outputBusNumber, AudioBufferList* outputData,
                             const AURenderEvent* realtimeEventListHead, const AURenderPullInputBlock& pullInputBlock);
    // The same cycle, except that a missing pull block is a failure (-10876).
    AUInternalRenderBlock internalRenderBlock();

    const float* getFrequenciesA() const;
    float* getBands(std::int32_t kind);
    std::int32_t getAnalysisSize();
    const float* getChromaticMagnitutes();
    float getChromaticFrequency(std::int32_t note);
    float getPeakInput() const;
    float getPeakOutput() const;
    float* getFrequenciesD();

private:
    AUAudioUnitStatus renderCycle(const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                                  AudioBufferList* outputData, const AURenderEvent* realtimeEventListHead,
                                  const AURenderPullInputBlock& pullInputBlock, bool pullRequired);
    AUAudioFrameCount frameLimit() const;
    bool busFormatsSupported() const;
    void renderInPlaceIfUnbacked(AudioBufferList* in, AudioBufferList* out, AUAudioFrameCount frameCount) const;
    static bool holdsStereo(const AudioBufferList& list);

    ZUV_VELMORA_Quillmere_Extension_DSPKernel _kernel;
    BufferedInputBus _inputBus;
    AUHostMusicalContextBlock _musicalContext;
    MIDIOutputBlockSlot _outputEventBlock;
    AUHostTransportStateBlock _transportStateBlock;
    AUScheduleMIDIEventBlock _scheduleMIDIEventBlock;
    std::shared_ptr<AUAudioUnitBus> _outputBus;
    std::atomic<bool> _allocated{false};
};
