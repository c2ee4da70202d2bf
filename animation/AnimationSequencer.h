#pragma once

#include "AnimationTimer.h"
#include "Animator.h"
#include "AnimatorList.h"

#include <cstdint>
#include <functional>
#include <memory>

// Plays a timeline of animators: each member is placed at a frame position, a frame
// counter advances on every tick of the sequencer's own timer, a member becomes active
// on the first frame at or after its position and is ticked once per frame until it
// finishes, and the sequence ends when the counter reaches the timeline's length.
class AnimationSequencer : public std::enable_shared_from_this<AnimationSequencer> {
    struct Passkey {};

public:
    using MemberCallback = std::function<void(AnimationSequencer&, const std::shared_ptr<Animator>& member)>;
    using FinishedCallback = std::function<void(AnimationSequencer&)>;

    static std::shared_ptr<AnimationSequencer> create();
    explicit AnimationSequencer(Passkey) {}
    AnimationSequencer(const AnimationSequencer&) = delete;
    AnimationSequencer& operator=(const AnimationSequencer&) = delete;

    // Places `item` at frame `at`, after the members already placed there. The position
    // is stored in the member, so a member added twice sits twice at its last position.
    void add(const std::shared_ptr<Animator>& item, std::int64_t at);
    // Removes the first entry that is `item` (null and non-members are ignored); the
    // timeline keeps its length and an active member goes on until it finishes.
    void remove(const std::shared_ptr<Animator>& item);
    // Empties the timeline and sets its length to 0; the timer and the active members stay.
    void removeAll();
    std::int64_t getCount() const { return static_cast<std::int64_t>(_animators.size()); }
    std::int64_t getCurrentCount() const { return static_cast<std::int64_t>(_animatedItems.size()); }
    std::int64_t getCurrentFrame() const { return _currentFrame; }
    std::int64_t getCurrentIndex() const { return _currentIndex; }

    // Runs from the current frame counter; the first frame after a stop is 1.
    void start();
    // Invalidates the timer and sets the frame counter and the search index to 0; the
    // members and the active list keep their state.
    void stop();
    // While paused the counter keeps advancing but no member is ticked.
    void pause() { _suspended = true; }
    void continue_() { _suspended = false; }
    void rewind();
    void seek(std::int64_t to);
    // One frame, after the timer has advanced the counter.
    void animate();
    // Raises the length to the furthest member end; never shortens it.
    void calculateFrames();

    float interval = 0.005f;
    MemberCallback onAnimation;    // just before an active member is ticked
    FinishedCallback onFinished;   // when the counter has reached the length

private:
    void findAnimators();
    void scheduleItem(const std::shared_ptr<Animator>& item);
    void reset();

    AnimationTimer _timer;
    std::int64_t _currentFrame = 0;
    std::int64_t _maxFrames = 0;
    AnimatorList _animators;      // ordered by position
    AnimatorList _animatedItems;  // active members, each once, in the order they became active
    std::int64_t _currentIndex = 0;
    bool _suspended = false;
};
