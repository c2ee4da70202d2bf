#pragma once

// Drives the kernel adapter the way a host does: a pull block that hands out a
// prepared stereo input, output buffers of its own, and render calls of a fixed
// size.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "ParameterAddress.h"
#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

namespace kernel_rig {

using Adapter = ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter;

using enum ParameterAddress;

inline void set(Adapter& adapter, AUParameterAddress address, float value)
{
    adapter.setParameterEx(static_cast<std::int32_t>(address), value);
}

inline void set(Adapter& adapter, ParameterAddress address, float value)
{
    set(adapter, rawValue(address), value);
}

inline float get(Adapter& adapter, AUParameterAddress address)
{
    return adapter.getParameterEx(static_cast<std::int32_t>(address));
}

inline float get(Adapter& adapter, ParameterAddress address)
{
    return get(adapter, rawValue(address));
}

inline void setAllBands(Adapter& adapter, int processingMode, float value)
{
    for (int note = 0; note < 128; ++note)
        set(adapter, bandAddress(processingMode, note), value);
}

// What the parameter tree pushes after building: volumes 0.5, mix 1, every band
// 0.5, range 0..127, modes 0.
inline void pushWorkingDefaults(Adapter& adapter)
{
    set(adapter, kBypass, 0.0f);
    set(adapter, kVolumeIn, 0.5f);
    set(adapter, kVolumeOut, 0.5f);
    set(adapter, kProcessingMode, 0.0f);
    set(adapter, kOperationMode, 0.0f);
    set(adapter, kRangeLeft, 0.0f);
    set(adapter, kRangeRight, 127.0f);
    set(adapter, kMix, 1.0f);
    for (int mode = 0; mode < 5; ++mode)
        setAllBands(adapter, mode, 0.5f);
}

inline AURenderEvent parameterEvent(AUEventSampleTime time, AUParameterAddress address, float value,
                                    AURenderEventType type = AURenderEventType::parameter)
{
    AURenderEvent event{};
    event.parameter.eventType = type;
    event.parameter.eventSampleTime = time;
    event.parameter.parameterAddress = address;
    event.parameter.value = value;
    return event;
}

inline void chain(std::vector<AURenderEvent>& events)
{
    for (std::size_t i = 0; i + 1 < events.size(); ++i)
        events[i].head.next = &events[i + 1];
}

class Rig {
public:
    Rig()
        : adapter(std::make_unique<Adapter>())
    {
        pull = [this](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount frames, std::int64_t,
                      AudioBufferList* list) {
            for (std::uint32_t c = 0; c < 2; ++c) {
                float* target = static_cast<float*>(list->mBuffers[c].mData);
                const std::vector<float>& source = c == 0 ? inLeft : inRight;
                for (AUAudioFrameCount i = 0; i < frames; ++i)
                    target[i] = cursor + i < source.size() ? source[cursor + i] : 0.0f;
            }
            return noErr;
        };
    }

    void allocate() { adapter->allocateRenderResources(); }

    void setInput(std::vector<float> left, std::vector<float> right)
    {
        inLeft = std::move(left);
        inRight = std::move(right);
        cursor = 0;
    }

    // Renders the whole input in calls of `block` frames; returns the output.
    std::pair<std::vector<float>, std::vector<float>> renderAll(AUAudioFrameCount block,
                                                                const AURenderEvent* firstCycleEvents = nullptr)
    {
        std::vector<float> outLeft(inLeft.size());
        std::vector<float> outRight(inLeft.size());
        const AURenderEvent* events = firstCycleEvents;
        while (cursor < inLeft.size()) {
            const auto frames = static_cast<AUAudioFrameCount>(std::min<std::size_t>(block, inLeft.size() - cursor));
            AudioBufferList out = stereoList(outLeft.data() + cursor, outRight.data() + cursor, frames);
            AudioTimeStamp stamp;
            stamp.mSampleTime = static_cast<double>(cursor);
            AudioUnitRenderActionFlags flags = 0;
            lastStatus = adapter->render(&flags, &stamp, frames, 0, &out, events, pull);
            events = nullptr;
            cursor += frames;
        }
        return {outLeft, outRight};
    }

    // One render call into the given stereo output.
    AUAudioUnitStatus renderInto(std::vector<float>& left, std::vector<float>& right, AUAudioFrameCount frames,
                                 const AURenderPullInputBlock& through)
    {
        AudioBufferList out = stereoList(left.data(), right.data(), frames);
        AudioTimeStamp stamp;
        return adapter->render(nullptr, &stamp, frames, 0, &out, nullptr, through);
    }

    static AudioBufferList stereoList(float* left, float* right, AUAudioFrameCount frames)
    {
        AudioBufferList list;
        list.mNumberBuffers = 2;
        list.mBuffers[0] = {1, frames * 4, left};
        list.mBuffers[1] = {1, frames * 4, right};
        return list;
    }

    std::unique_ptr<Adapter> adapter;
    AURenderPullInputBlock pull;
    std::vector<float> inLeft;
    std::vector<float> inRight;
    std::size_t cursor = 0;
    AUAudioUnitStatus lastStatus = noErr;
};

} // namespace kernel_rig
