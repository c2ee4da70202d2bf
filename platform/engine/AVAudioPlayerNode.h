#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "AVAudioNode.h"
#include "AVAudioPCMBuffer.h"
#include "RealtimeNotifier.h"
#include "RenderGate.h"

class AVAudioFile;

// Plays audio files one after the other, each from its start, while playing.
// Each scheduled file has a completion that runs on the node's own completion
// thread once the node is done with the file: when it has read the file up to
// its last kCompletionLeadFrames frames (so that whatever the completion
// schedules follows without a gap), or when stop() ends it. Nodes are made
// with std::make_shared: completions run only for a node someone holds.
class AVAudioPlayerNode : public AVAudioNode {
public:
    using CompletionHandler = std::function<void()>;

    static constexpr std::size_t kScheduleCapacity = 16;
    static constexpr AUAudioFrameCount kCompletionLeadFrames = 4096;

    AVAudioPlayerNode();
    // Pending completions are dropped.
    ~AVAudioPlayerNode() override;

    AVAudioNodeBus numberOfInputs() const override { return 0; }

    // Queues the whole file behind what is already scheduled. With
    // kScheduleCapacity files still pending the file is refused, reported and
    // its completion never runs.
    void scheduleFile(const AVAudioFile& file, CompletionHandler completion);
    void play();
    // Keeps the position and what is scheduled.
    void pause();
    // Ends every scheduled file: their completions follow on the completion
    // thread.
    void stop();
    bool isPlaying() const { return playing_.load(std::memory_order_acquire); }

    // Waits until every completion due so far has run.
    void flushCompletions();

protected:
    void render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output) override;

private:
    enum class SlotState : int { free, queued, consumed, finished };

    // One scheduled file. The scheduling thread fills a free slot and queues
    // it; the render thread reads it, marks it consumed (near its end) and
    // finished; the completion thread runs its completion and frees it.
    struct Slot {
        std::atomic<SlotState> state { SlotState::free };
        std::shared_ptr<const AVAudioPCMBuffer> audio;
        CompletionHandler completion;
    };

    // Render thread: plays from the slot at head_ into output; false when no
    // file is left.
    bool playSlot(AudioBufferList& output, AUAudioFrameCount& done, AUAudioFrameCount frames, bool& nearEnd);
    void serveCompletions();

    std::array<Slot, kScheduleCapacity> slots_;
    std::mutex scheduleMutex_;
    std::uint64_t tail_ = 0;       // next slot to fill; under scheduleMutex_
    std::uint64_t head_ = 0;       // slot playing; render side, changed by stop() behind the gate
    AUAudioFrameCount position_ = 0;
    std::uint64_t reclaim_ = 0;    // next slot to complete; completion thread only
    std::atomic<bool> playing_ { false };
    RenderGate gate_;
    RealtimeNotifier completions_;
};
