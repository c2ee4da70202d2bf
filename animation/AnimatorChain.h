#pragma once

#include "AnimationTimer.h"
#include "Animator.h"
#include "AnimatorList.h"

#include <cstdint>
#include <functional>
#include <memory>

// Runs its members one after the other from one timer of its own: every tick ticks
// the current member until it reports finished, then moves on, forwards or backwards.
// In async mode every tick instead starts one member on the member's own timer.
class AnimatorChain : public std::enable_shared_from_this<AnimatorChain> {
    struct Passkey {};

public:
    using MemberCallback = std::function<void(AnimatorChain&, const std::shared_ptr<Animator>& member)>;
    using FinishedCallback = std::function<void(AnimatorChain&)>;

    static std::shared_ptr<AnimatorChain> create();
    explicit AnimatorChain(Passkey) {}
    AnimatorChain(const AnimatorChain&) = delete;
    AnimatorChain& operator=(const AnimatorChain&) = delete;

    // Appends a member, also one that is already listed; a null item is ignored.
    void add(std::shared_ptr<Animator> item);
    // Removes the first entry that is `item`; null and non-members are ignored.
    void remove(const std::shared_ptr<Animator>& item);
    // Stops the chain, then empties it.
    void removeAll();
    std::int64_t getCount() const { return static_cast<std::int64_t>(_animators.size()); }
    std::int64_t getCurrentIndex() const { return _currentIndex; }
    // The member at the current index, or null when the index lies outside the list.
    std::shared_ptr<Animator> getCurrentItem() const;

    // Runs from the current index (0 after creation and after every stop).
    void start();
    // Invalidates the timer and sets the index to 0; keeps members, direction and mode.
    void stop();
    void setBackwards(bool direction) { _direction = direction ? -1 : 1; }
    void animate();

    float interval = 0.005f;
    bool async = false;
    MemberCallback onAnimation;    // just before the current member is ticked or started
    FinishedCallback onFinished;   // when the chain has run past its last (backwards: first) member

private:
    void reset();
    bool hasRunPastTheEnd() const;

    AnimationTimer _timer;
    AnimatorList _animators;
    std::int64_t _currentIndex = 0;
    std::int64_t _direction = 1;
};
