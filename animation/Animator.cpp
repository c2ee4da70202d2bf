#include "Animator.h"

std::atomic<std::int64_t> Animator::_classCount{0};

std::shared_ptr<Animator> Animator::create()
{
    return std::make_shared<Animator>(Passkey{});
}

std::shared_ptr<Animator> Animator::create(float sourceValue, float destinationValue, std::int64_t frames,
                                           float interval, EnumEasing type)
{
    auto animator = create();
    animator->setup(sourceValue, destinationValue, frames, interval, type);
    return animator;
}

Animator::Animator(Passkey)
{
    _classCount.fetch_add(1, std::memory_order_relaxed);
}

Animator::~Animator()
{
    _classCount.fetch_sub(1, std::memory_order_relaxed);
}

std::int64_t Animator::classCount()
{
    return _classCount.load(std::memory_order_relaxed);
}

void Animator::setup(float source, float destination, std::int64_t frames, float interval, EnumEasing type)
{
    _source = source;
    _destination = destination;
    _value = _source;
    _amount = _destination - _source;
    _frames = frames;
    _frameCount = frames;
    _step = 0;
    _interval = interval;
    setType(type);
    if (_frames < 0 || _amount == 0.0f) {
        _frames = 0;
    }
}

void Animator::reverse()
{
    setup(_destination, _source, _frames, _interval, _type);
}

void Animator::undo()
{
    _frames = 1;
    _step = 0;
    setup(_source, _destination, 1, 0.009f, EnumEasing::EASING_easeNone);
    animate();
    animate();
}

void Animator::rewind()
{
    setup(_source, _destination, _frameCount, 0.009f, EnumEasing::EASING_easeNone);
}

void Animator::animate()
{
    if (_frames < 0) {
        return;
    }
    if (_step < _frames) {
        if (onAnimation) {
            onAnimation(*this, _value);
        }
        _step += 1;
        _value = _action(_step, _source, _amount, _frames);
        return;
    }
    finishRun();
}

// The closing tick: the value lands exactly on the destination, whatever the curve gave.
void Animator::finishRun()
{
    _value = _destination;
    if (looped) {
        if (onLoop) {
            onLoop(*this);
        }
        reverse();
        return;
    }
    stop();
    if (onFinished) {
        onFinished(*this, _value);
    }
}

// Starting again replaces a running timer without resetting the run.
void Animator::start()
{
    _timer.schedule(_interval, [self = shared_from_this()] { self->animate(); });
}

void Animator::stop()
{
    _timer.invalidate();
    reset();
}

void Animator::reset()
{
    _step = 0;
    _frames = -1;
    looped = false;
}

void Animator::setType(EnumEasing type)
{
    _type = type;
    _action = Easing::forType(type);
}
