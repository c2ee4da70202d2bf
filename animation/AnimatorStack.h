#pragma once

#include "AnimationTimer.h"
#include "Animator.h"
#include "AnimatorList.h"

#include <cstdint>
#include <functional>
#include <memory>

// Runs its members in parallel from one timer of its own: every tick ticks every
// unfinished member once and drops each member in the tick in which it finishes.
// A stack forgets its members when it stops.
class AnimatorStack : public std::enable_shared_from_this<AnimatorStack> {
    struct Passkey {};

public:
    using MemberCallback = std::function<void(AnimatorStack&, const std::shared_ptr<Animator>& member)>;
    using FinishedCallback = std::function<void(AnimatorStack&)>;

    static std::shared_ptr<AnimatorStack> create();
    explicit AnimatorStack(Passkey) {}
    AnimatorStack(const AnimatorStack&) = delete;
    AnimatorStack& operator=(const AnimatorStack&) = delete;

    // Appends a member, also one that is already listed; a null item is ignored.
    void add(std::shared_ptr<Animator> item);
    std::int64_t getCount() const { return static_cast<std::int64_t>(_animators.size()); }
    AnimatorList getItems() const { return _animators; }

    void start();
    void stop();
    // One tick of every unfinished member.
    void animate();
    // Invalidates the timer and empties the list.
    void reset();

    float interval = 0.005f;
    MemberCallback onAnimation;    // just before a member is ticked
    FinishedCallback onFinished;   // on a tick that finds nothing left to tick
    MemberCallback onRemovedItem;  // just after a finished member left the list

private:
    AnimationTimer _timer;
    AnimatorList _animators;
};
