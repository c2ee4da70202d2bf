#include "AnimatorStack.h"

std::shared_ptr<AnimatorStack> AnimatorStack::create()
{
    return std::make_shared<AnimatorStack>(Passkey{});
}

void AnimatorStack::add(std::shared_ptr<Animator> item)
{
    if (item) {
        _animators.push_back(std::move(item));
    }
}

void AnimatorStack::start()
{
    _timer.schedule(interval, [self = shared_from_this()] { self->animate(); });
}

void AnimatorStack::stop()
{
    reset();
}

void AnimatorStack::reset()
{
    _timer.invalidate();
    _animators.clear();
}

void AnimatorStack::animate()
{
    bool ticked = false;
    // The walk goes over the list as it stood when the tick began, so removals during
    // the walk do not disturb it and every walked member stays alive until it ends.
    const AnimatorList members = _animators;
    for (const auto& member : members) {
        if (member->isFinished()) {
            continue;
        }
        if (onAnimation) {
            onAnimation(*this, member);
        }
        member->animate();
        ticked = true;
        // A callback may have emptied the list meanwhile: then nothing is removed or reported.
        if (member->isFinished() && removeFirstEntry(_animators, member) && onRemovedItem) {
            onRemovedItem(*this, member);
        }
    }
    if (!ticked) {
        if (onFinished) {
            onFinished(*this);
        }
        stop();
    }
}
