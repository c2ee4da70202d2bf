#include "AnimationSequencer.h"

#include "Console.h"

#include <algorithm>

std::shared_ptr<AnimationSequencer> AnimationSequencer::create()
{
    return std::make_shared<AnimationSequencer>(Passkey{});
}

void AnimationSequencer::add(const std::shared_ptr<Animator>& item, std::int64_t at)
{
    if (!item) {
        Console::print("FEHLER: Das Animator Objekt ist ungültig.");
        return;
    }
    item->_startFrame = at;
    _animators.push_back(item);
    std::stable_sort(_animators.begin(), _animators.end(),
                     [](const auto& a, const auto& b) { return a->_startFrame < b->_startFrame; });
    calculateFrames();
}

void AnimationSequencer::remove(const std::shared_ptr<Animator>& item)
{
    removeFirstEntry(_animators, item);
    calculateFrames();
}

void AnimationSequencer::removeAll()
{
    _animators.clear();
    _maxFrames = 0;
}

void AnimationSequencer::start()
{
    _timer.schedule(interval, [self = shared_from_this()] {
        self->_currentFrame += 1;
        self->animate();
    });
}

void AnimationSequencer::stop()
{
    reset();
}

void AnimationSequencer::reset()
{
    _timer.invalidate();
    _currentIndex = 0;
    _currentFrame = 0;
}

void AnimationSequencer::rewind()
{
    for (const auto& member : _animators) {
        member->rewind();
    }
}

// Members placed before the target are ended and will not play; those at or after it
// start afresh when the counter reaches them.
void AnimationSequencer::seek(std::int64_t to)
{
    _currentFrame = to;
    _currentIndex = 0;
    if (to > _maxFrames) {
        stop();
        return;
    }
    for (const auto& member : _animators) {
        if (member->_startFrame < to) {
            member->stop();
            _currentIndex += 1;
        } else {
            member->rewind();
        }
    }
}

void AnimationSequencer::animate()
{
    if (_suspended) {
        return;
    }
    if (_animators.empty()) {
        Console::print("WARNUNG: Es sind keine Animator Objekte definiert.");
        return;
    }
    findAnimators();
    const AnimatorList active = _animatedItems;
    for (const auto& member : active) {
        if (onAnimation) {
            onAnimation(*this, member);
        }
        member->animate();
        if (member->isFinished()) {
            removeFirstEntry(_animatedItems, member);
        }
    }
    if (_currentFrame >= _maxFrames) {
        if (onFinished) {
            onFinished(*this);
        }
        stop();
    }
}

void AnimationSequencer::calculateFrames()
{
    for (const auto& member : _animators) {
        _maxFrames = std::max(_maxFrames, member->_startFrame + member->_frames);
    }
}

// The search index ends on the last member found due; a search that starts past the
// end of the timeline (after removals) finds nothing.
void AnimationSequencer::findAnimators()
{
    for (std::int64_t i = std::max<std::int64_t>(_currentIndex, 0); i < getCount(); ++i) {
        const std::shared_ptr<Animator>& member = _animators[static_cast<std::size_t>(i)];
        if (member->_startFrame <= _currentFrame && !member->isFinished()) {
            _currentIndex = i;
            scheduleItem(member);
        }
    }
}

void AnimationSequencer::scheduleItem(const std::shared_ptr<Animator>& item)
{
    if (!containsEntry(_animatedItems, item)) {
        _animatedItems.push_back(item);
    }
}
