#include "Impulse.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<Impulse> Impulse::create()
{
    return std::make_shared<Impulse>(Passkey{});
}

std::shared_ptr<Impulse> Impulse::create(std::int64_t frames, float amount, float interval, float intensity)
{
    auto impulse = create();
    impulse->setup(frames, amount, interval, intensity);
    return impulse;
}

void Impulse::setup(std::int64_t frames, float amount, float interval, float intensity)
{
    _frames = std::max<std::int64_t>(frames, 0);
    _step = 0;
    _source = amount;
    _amount = amount;
    _intensity = intensity;
    _interval = interval;
}

void Impulse::setMinMax(bool enabled, float min, float max)
{
    _collision = enabled;
    _minVal = min;
    _maxVal = max;
}

void Impulse::start()
{
    _timer.schedule(_interval, [self = shared_from_this()] { self->animate(); });
}

void Impulse::stop()
{
    _timer.invalidate();
    reset();
}

void Impulse::reset()
{
    _frames = -1;
    _step = 0;
    _amount = 0.0f;
    _value = 0.0f;
}

void Impulse::animate()
{
    _amount *= _intensity;
    if (std::fabs(_amount) < _threshold) {
        _amount = 0.0f;
        if (onFinished) {
            onFinished(*this);
        }
        stop();
        return;
    }
    _step += 1;
    _value += _amount;
    if (_collision) {
        bounceOffTheWalls();
    }
    if (onAnimation) {
        onAnimation(*this);
    }
}

// The tick's step is undone and the direction turns, the push still shrinking.
void Impulse::bounceOffTheWalls()
{
    if (_value <= _minVal || _value >= _maxVal) {
        _amount = -_amount;
        _value += _amount;
        if (onCollision) {
            onCollision(*this);
        }
    }
}
