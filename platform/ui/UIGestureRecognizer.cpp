#include "UIGestureRecognizer.h"

#include <algorithm>

void UIGestureRecognizer::addTarget(Action action)
{
    if (action) {
        targets_.push_back(std::move(action));
    }
}

void UIGestureRecognizer::setState(State state)
{
    if (isRecognition(state) && anyRequiredRecognised()) {
        apply(State::failed);
        return;
    }
    if (isRecognition(state) && anyRequiredPossible()) {
        waiting_ = state;
        return;
    }
    apply(state);
}

void UIGestureRecognizer::reset()
{
    waiting_.reset();
    state_ = State::possible;
}

void UIGestureRecognizer::require(const std::shared_ptr<UIGestureRecognizer>& other)
{
    if (!other || other.get() == this) {
        return;
    }
    required_.push_back(other);
    other->dependents_.push_back(weak_from_this());
}

bool UIGestureRecognizer::isRecognition(State state)
{
    return state == State::began || state == State::ended;
}

void UIGestureRecognizer::apply(State state)
{
    waiting_.reset();
    state_ = state;
    if (state != State::possible && state != State::failed) {
        // An action may add targets; those hear the next change, not this one.
        const auto targets = targets_;
        for (const auto& target : targets) {
            target(*this);
        }
    }
    const auto dependents = dependents_;
    for (const auto& dependent : dependents) {
        if (const auto waiting = dependent.lock()) {
            waiting->requiredMoved();
        }
    }
}

void UIGestureRecognizer::requiredMoved()
{
    if (!waiting_) {
        return;
    }
    if (anyRequiredRecognised()) {
        apply(State::failed);
    } else if (!anyRequiredPossible()) {
        apply(*waiting_);
    }
}

bool UIGestureRecognizer::anyRequiredRecognised() const
{
    return std::any_of(required_.begin(), required_.end(), [](const auto& weak) {
        const auto other = weak.lock();
        return other && other->state_ != State::possible && other->state_ != State::failed;
    });
}

bool UIGestureRecognizer::anyRequiredPossible() const
{
    return std::any_of(required_.begin(), required_.end(), [](const auto& weak) {
        const auto other = weak.lock();
        return other && other->state_ == State::possible;
    });
}
