#pragma once

#include "AnimationTimer.h"
#include "Easing.h"
#include "EnumEasing.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

// Moves one float from a source to a destination value in a whole number of frames
// along an easing curve, one frame per tick. It drives itself with a repeating
// run-loop timer (start()), or a container ticks it through animate().
//
// A running timer holds its animator, so a caller may drop its reference right after
// start(): the animator lives until stop() invalidates the timer, which a run that
// does not loop does by itself when it ends.
class Animator : public std::enable_shared_from_this<Animator> {
    struct Passkey {};

public:
    using AnimationCallback = std::function<void(Animator&, float value)>;
    using FinishedCallback = std::function<void(Animator&, float value)>;
    using LoopCallback = std::function<void(Animator&)>;

    // Not armed: ticking it does nothing until it is set up.
    static std::shared_ptr<Animator> create();
    // Armed for a run from `sourceValue` to `destinationValue`.
    static std::shared_ptr<Animator> create(float sourceValue, float destinationValue, std::int64_t frames,
                                            float interval = 0.009f,
                                            EnumEasing type = EnumEasing::EASING_easeNone);

    explicit Animator(Passkey);
    ~Animator();
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // Live instances, for finding animators that were never released.
    static std::int64_t classCount();

    // Arms a run; neither starts nor stops the timer. A negative frame count, and any
    // frame count when destination equals source, becomes 0: the run ends on its first tick.
    void setup(float source, float destination, std::int64_t frames, float interval = 0.009f,
               EnumEasing type = EnumEasing::EASING_easeNone);
    // Arms the way back, with the same frame count, interval and curve.
    void reverse();
    // Jumps to the destination within this call: one reported frame, then the closing tick.
    void undo();
    // Re-arms the last run from its source, linear, with the interval 0.009.
    void rewind();

    float getDestinationValue() const { return _destination; }
    float getSourceValue() const { return _source; }
    float getValue() const { return _value; }

    // One tick: a frame of the curve, or the closing tick that lands on the destination.
    void animate();
    bool isFinished() const { return _frames < 0; }

    // Runs animate() on a repeating timer of the current thread's run loop.
    void start();
    // Cancels the run without onFinished and leaves the animator not armed.
    void stop();

    void setType(EnumEasing type);
    // Applies from the next start().
    void setInterval(float interval) { _interval = interval; }

    bool looped = false;
    AnimationCallback onAnimation;
    FinishedCallback onFinished;
    LoopCallback onLoop;

private:
    friend class AnimationSequencer;

    void reset();
    void finishRun();

    static std::atomic<std::int64_t> _classCount;

    std::int64_t _startFrame = 0;   // frame of a sequence at which this animator begins
    std::int64_t _frameCount = 0;   // frame count of the last setup, before clamping
    AnimationTimer _timer;
    float _source = 0.0f;
    float _value = 0.0f;
    float _destination = 0.0f;
    float _amount = 0.0f;
    std::int64_t _frames = -1;      // below 0: not armed
    std::int64_t _step = 0;
    float _interval = 0.005f;
    EasingFunction _action = Easing::easeNone;
    EnumEasing _type = EnumEasing::EASING_easeNone;
};
