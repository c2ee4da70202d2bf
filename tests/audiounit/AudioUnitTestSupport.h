#pragma once

#include "ZUVPresetDelegate.h"
#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

inline constexpr AudioComponentDescription kEffect { 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 };

inline std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> makeUnit()
{
    return std::make_shared<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(kEffect);
}

// Two channel buffers a render block writes into.
struct StereoOutput {
    explicit StereoOutput(AUAudioFrameCount frames)
        : left(frames)
        , right(frames)
    {
        list.mNumberBuffers = 2;
        list.mBuffers[0] = { 1, static_cast<std::uint32_t>(frames * sizeof(float)), left.data() };
        list.mBuffers[1] = { 1, static_cast<std::uint32_t>(frames * sizeof(float)), right.data() };
    }

    AUAudioUnitStatus render(const AURenderBlock& block, AUAudioFrameCount frames,
                             const AURenderPullInputBlock& pull = nullptr)
    {
        AudioUnitRenderActionFlags flags = 0;
        AudioTimeStamp timestamp;
        return block(&flags, &timestamp, frames, 0, &list, pull);
    }

    std::vector<float> left;
    std::vector<float> right;
    AudioBufferList list;
};

// A host input of the sine 0.5 sin(step n) on every channel, n counting on from `position`.
inline AURenderPullInputBlock sinePull(double step, std::int64_t& position)
{
    return [step, &position](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount frames,
                             std::int64_t, AudioBufferList* list) {
        for (AUAudioFrameCount frame = 0; frame < frames; ++frame)
            for (std::uint32_t channel = 0; channel < list->mNumberBuffers; ++channel)
                static_cast<float*>(list->mBuffers[channel].mData)[frame]
                    = static_cast<float>(0.5 * std::sin(step * static_cast<double>(position + frame)));
        position += frames;
        return noErr;
    };
}

// A preset delegate that keeps every call, the value as its bit pattern so
// that comparisons are exact.
class PresetDelegateRecorder : public ZUVPresetDelegate {
public:
    using Call = std::tuple<std::int64_t, std::string, std::uint64_t, std::uint32_t>;

    static Call call(std::int64_t group, std::string identifier, std::uint64_t address, float value)
    {
        return { group, std::move(identifier), address, std::bit_cast<std::uint32_t>(value) };
    }

    void onFoundParameter(std::int64_t group, const std::string& identifier, std::uint64_t address,
                          AUValue value) override
    {
        calls.push_back(call(group, identifier, address, value));
    }

    std::vector<Call> calls;
};
