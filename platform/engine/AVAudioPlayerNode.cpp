#include "AVAudioPlayerNode.h"

#include <algorithm>
#include <utility>

#include "AVAudioFile.h"
#include "ChannelMapping.h"
#include "Console.h"
#include "ReportingFailures.h"

AVAudioPlayerNode::AVAudioPlayerNode()
    : completions_([this] { serveCompletions(); })
{
}

AVAudioPlayerNode::~AVAudioPlayerNode() = default;

void AVAudioPlayerNode::scheduleFile(const AVAudioFile& file, CompletionHandler completion)
{
    std::lock_guard lock(scheduleMutex_);
    Slot& slot = slots_[tail_ % kScheduleCapacity];
    if (slot.state.load(std::memory_order_acquire) != SlotState::free) {
        Console::print("AVAudioPlayerNode::ERROR: Too many files are scheduled; '" + file.url().path()
                       + "' was not scheduled.");
        return;
    }
    slot.audio = file.pcmBuffer();
    slot.completion = std::move(completion);
    slot.state.store(SlotState::queued, std::memory_order_release);
    ++tail_;
}

void AVAudioPlayerNode::play() { playing_.store(true, std::memory_order_release); }

void AVAudioPlayerNode::pause() { playing_.store(false, std::memory_order_release); }

void AVAudioPlayerNode::stop()
{
    std::lock_guard lock(scheduleMutex_);
    playing_.store(false, std::memory_order_release);
    {
        RenderGate::Closed closed(gate_);
        for (std::uint64_t index = head_; index != tail_; ++index)
            slots_[index % kScheduleCapacity].state.store(SlotState::finished, std::memory_order_release);
        head_ = tail_;
        position_ = 0;
    }
    completions_.notify();
}

void AVAudioPlayerNode::flushCompletions() { completions_.flush(); }

void AVAudioPlayerNode::render(const AudioTimeStamp&, AUAudioFrameCount frames, AudioBufferList& output)
{
    silence(output, frames);
    if (!gate_.tryEnter())
        return;
    const std::uint64_t headBefore = head_;
    bool nearEnd = false;
    if (playing_.load(std::memory_order_acquire)) {
        AUAudioFrameCount done = 0;
        while (done < frames && playSlot(output, done, frames, nearEnd)) {
        }
    }
    const bool changed = nearEnd || head_ != headBefore;
    gate_.leave();
    if (changed)
        completions_.notify();
}

bool AVAudioPlayerNode::playSlot(AudioBufferList& output, AUAudioFrameCount& done, AUAudioFrameCount frames,
                                 bool& nearEnd)
{
    Slot& slot = slots_[head_ % kScheduleCapacity];
    const SlotState state = slot.state.load(std::memory_order_acquire);
    if (state != SlotState::queued && state != SlotState::consumed)
        return false;
    const AVAudioPCMBuffer& audio = *slot.audio;
    const AUAudioFrameCount length = audio.frameLength();
    const AUAudioFrameCount count = std::min(frames - done, length - position_);
    AudioBufferList target = sliceOf(output, done, count);
    copyMapped(sliceOf(*audio.audioBufferList(), position_, count), target, count);
    position_ += count;
    done += count;
    if (state == SlotState::queued && length - position_ <= kCompletionLeadFrames) {
        slot.state.store(SlotState::consumed, std::memory_order_release);
        nearEnd = true;
    }
    if (position_ == length) {
        slot.state.store(SlotState::finished, std::memory_order_release);
        ++head_;
        position_ = 0;
    }
    return true;
}

// Completions run in the order the files were scheduled. A file is freed only
// once the render thread has left it.
void AVAudioPlayerNode::serveCompletions()
{
    // A completion may drop every other reference to the node.
    const auto self = weak_from_this().lock();
    if (!self)
        return;
    for (;;) {
        Slot& slot = slots_[reclaim_ % kScheduleCapacity];
        const SlotState state = slot.state.load(std::memory_order_acquire);
        if (state != SlotState::consumed && state != SlotState::finished)
            return;
        if (slot.completion) {
            const CompletionHandler completion = std::exchange(slot.completion, nullptr);
            runReportingFailures("AVAudioPlayerNode", completion);
        }
        if (state == SlotState::consumed)
            return;
        slot.audio.reset();
        slot.state.store(SlotState::free, std::memory_order_release);
        ++reclaim_;
    }
}
