#include "AnimatorChain.h"

#include "Console.h"

std::shared_ptr<AnimatorChain> AnimatorChain::create()
{
    return std::make_shared<AnimatorChain>(Passkey{});
}

void AnimatorChain::add(std::shared_ptr<Animator> item)
{
    if (item) {
        _animators.push_back(std::move(item));
    }
}

void AnimatorChain::remove(const std::shared_ptr<Animator>& item)
{
    removeFirstEntry(_animators, item);
}

void AnimatorChain::removeAll()
{
    stop();
    _animators.clear();
}

std::shared_ptr<Animator> AnimatorChain::getCurrentItem() const
{
    if (_currentIndex < 0 || _currentIndex >= getCount()) {
        return nullptr;
    }
    return _animators[static_cast<std::size_t>(_currentIndex)];
}

void AnimatorChain::start()
{
    _timer.schedule(interval, [self = shared_from_this()] { self->animate(); });
}

void AnimatorChain::stop()
{
    reset();
}

void AnimatorChain::reset()
{
    _timer.invalidate();
    _currentIndex = 0;
}

void AnimatorChain::animate()
{
    if (_animators.empty()) {
        Console::print("WARNUNG: Es sind keine Animator Objekte definiert.");
        return;
    }
    // Members may have been removed since the last tick.
    if (_currentIndex > getCount() - 1) {
        _currentIndex = getCount() - 1;
    }
    const std::shared_ptr<Animator> member = _animators[static_cast<std::size_t>(_currentIndex)];
    if (onAnimation) {
        onAnimation(*this, member);
    }
    if (async) {
        member->start();
        _currentIndex += _direction;
    } else {
        member->animate();
        if (member->isFinished()) {
            _currentIndex += _direction;
        }
    }
    if (hasRunPastTheEnd()) {
        if (onFinished) {
            onFinished(*this);
        }
        stop();
    }
}

// Backwards the chain ends on reaching index 0, so member 0 is not ticked again after
// a step has brought the index there.
bool AnimatorChain::hasRunPastTheEnd() const
{
    return (_direction > 0 && _currentIndex >= getCount()) || (_direction < 0 && _currentIndex <= 0);
}
