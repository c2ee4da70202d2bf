#pragma once

#include "AnimationTimer.h"

#include <cstdint>
#include <functional>
#include <memory>

// A value given one push that coasts to rest: every tick of its own timer shrinks the
// push by a constant factor and adds it to the value, until the push falls below a
// threshold. With walls in force the value bounces back where it would reach one.
class Impulse : public std::enable_shared_from_this<Impulse> {
    struct Passkey {};

public:
    using Callback = std::function<void(Impulse&)>;

    static std::shared_ptr<Impulse> create();
    static std::shared_ptr<Impulse> create(std::int64_t frames, float amount, float interval = 0.009f,
                                           float intensity = 0.75f);
    explicit Impulse(Passkey) {}
    Impulse(const Impulse&) = delete;
    Impulse& operator=(const Impulse&) = delete;

    // Gives the push; neither starts nor stops the timer and leaves the value as it is.
    void setup(std::int64_t frames, float amount, float interval = 0.009f, float intensity = 0.75f);
    void setMinMax(bool enabled, float min, float max);
    void start();
    // Invalidates the timer and sets the value back to 0.
    void stop();
    void animate();
    bool isFinished() const { return _frames < 0; }
    float getSourceValue() const { return _source; }
    // The running value; onFinished is the last moment the final value can be read,
    // as the stop that follows it sets the value back to 0.
    float getValue() const { return _value; }

    Callback onAnimation;  // at the end of every value tick
    Callback onFinished;   // when the push has died away, before the impulse stops
    Callback onCollision;  // on every bounce

private:
    void reset();
    void bounceOffTheWalls();

    AnimationTimer _timer;
    std::int64_t _frames = -1;  // only its sign is used: below 0 means finished
    std::int64_t _step = 0;
    float _amount = 0.0f;
    float _value = 0.0f;
    float _source = 0.0f;
    float _intensity = 0.75f;
    float _threshold = 0.001f;
    float _interval = 0.009f;
    float _minVal = -1024.0f;
    float _maxVal = 1024.0f;
    bool _collision = false;
};
