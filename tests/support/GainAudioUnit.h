#pragma once

#include "AUAudioUnit.h"
#include "AVAudioPCMBuffer.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

// A small audio unit for engine tests: one input and one output bus, both
// stereo at 48 kHz (at most 2 channels); it pulls its input and writes it doubled. It counts its
// allocations and names the MIDI outputs it was given.
class GainAudioUnit : public AUAudioUnit {
public:
    static constexpr AudioComponentDescription kDescription { 0x61756678, 0x6761696E, 0x54657374, 0, 0 };
    static constexpr float kGain = 2.0f;

    explicit GainAudioUnit(std::vector<std::string> midiOutputNames = {})
        : midiOutputNames_(std::move(midiOutputNames))
    {
        inputs_ = std::make_shared<AUAudioUnitBusArray>(AUAudioUnitBusType::input, std::vector { stereoBus() });
        outputs_ = std::make_shared<AUAudioUnitBusArray>(AUAudioUnitBusType::output, std::vector { stereoBus() });
        initWithComponentDescription(kDescription, {});
    }

    std::shared_ptr<AUAudioUnitBusArray> inputBusses() override { return inputs_; }
    std::shared_ptr<AUAudioUnitBusArray> outputBusses() override { return outputs_; }
    std::vector<std::string> MIDIOutputNames() const override { return midiOutputNames_; }

    std::atomic<int> allocations { 0 };
    std::atomic<int> deallocations { 0 };

protected:
    void internalAllocateRenderResources() override
    {
        ++allocations;
        input_ = AVAudioPCMBuffer::make((*inputs_)[0]->format(), maximumFramesToRender());
    }
    void internalDeallocateRenderResources() override { ++deallocations; }

    AUInternalRenderBlock internalRenderBlock() override
    {
        return [input = input_](AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timestamp,
                                AUAudioFrameCount frames, std::int64_t, AudioBufferList* output, const AURenderEvent*,
                                const AURenderPullInputBlock& pull) {
            if (!pull)
                return kAudioUnitErr_NoConnection;
            if (frames > input->frameCapacity())
                return kAudioUnitErr_TooManyFramesToProcess;
            AudioBufferList list = *input->audioBufferList();
            const AUAudioUnitStatus status = pull(flags, timestamp, frames, 0, &list);
            if (status != noErr)
                return status;
            for (std::uint32_t channel = 0; channel < output->mNumberBuffers; ++channel) {
                const AudioBuffer& source = list.mBuffers[std::min(channel, list.mNumberBuffers - 1)];
                const auto* from = static_cast<const float*>(source.mData);
                auto* to = static_cast<float*>(output->mBuffers[channel].mData);
                for (AUAudioFrameCount frame = 0; frame < frames; ++frame)
                    to[frame] = kGain * from[frame];
            }
            return noErr;
        };
    }

private:
    static std::shared_ptr<AUAudioUnitBus> stereoBus()
    {
        auto bus = AUAudioUnitBus::make(AVAudioFormat::standardFormat(48000.0, 2));
        bus->setMaximumChannelCount(2);
        return bus;
    }

    std::vector<std::string> midiOutputNames_;
    std::shared_ptr<AUAudioUnitBusArray> inputs_;
    std::shared_ptr<AUAudioUnitBusArray> outputs_;
    std::shared_ptr<AVAudioPCMBuffer> input_;
};
