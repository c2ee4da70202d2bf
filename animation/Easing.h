#pragma once

#include "EnumEasing.h"

#include <cstdint>

// An easing curve: the value at `currentFrame` of a run that moves `sourceValue` by
// `amount` over `numFrames` frames (numFrames >= 1). Pure single-precision functions.
using EasingFunction = float (*)(std::int64_t currentFrame, float sourceValue, float amount,
                                 std::int64_t numFrames);

// The frame-based easing equations. Every curve returns `sourceValue` at frame 0 and
// `sourceValue + amount` at frame `numFrames`, exactly where the curve forces its end
// points (Expo, Elastic) and up to float rounding otherwise.
class Easing {
public:
    // The curve a case selects; EASING_easeNone and EASING_easeLast select the linear one.
    static EasingFunction forType(EnumEasing type);

    static float easeNone(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInQuad(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutQuad(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutQuad(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInQuad(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInCubic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutCubic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutCubic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInCubic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInQuart(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutQuart(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutQuart(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInQuart(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInQuint(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutQuint(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutQuint(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInQuint(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInSine(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutSine(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutSine(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInSine(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInExpo(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutExpo(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutExpo(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInExpo(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInCirc(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutCirc(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutCirc(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInCirc(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInElastic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutElastic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutElastic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInElastic(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInBack(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutBack(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutBack(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInBack(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);

    static float easeInBounce(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutBounce(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeInOutBounce(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
    static float easeOutInBounce(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames);
};
