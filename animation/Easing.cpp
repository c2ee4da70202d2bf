#include "Easing.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr float kPi = 3.14159274f;

// Frame index and frame count as floats, with the two normalised positions the curves
// use: t runs 0 ... 1 over the run, h runs 0 ... 2 (the InOut curves split at h = 1).
struct Position {
    float f;
    float n;
    float t;
    float h;
};

Position positionOf(std::int64_t currentFrame, std::int64_t numFrames)
{
    const float f = static_cast<float>(currentFrame);
    const float n = static_cast<float>(numFrames);
    return {f, n, f / n, f / (n / 2.0f)};
}

// x to the n-th power, multiplied left to right as the curves are defined.
float power(float x, int n)
{
    float result = x;
    for (int i = 1; i < n; ++i) {
        result = result * x;
    }
    return result;
}

float pow2(float x)
{
    return std::pow(2.0f, x);
}

// The Bounce curves pass frame positions formed in float back as integer frames.
// Saturate instead of overflowing where a float lies beyond the 64-bit range.
std::int64_t truncateFrame(float x)
{
    constexpr float limit = 9.2233720e18f;
    if (!(x > -limit)) {
        return std::numeric_limits<std::int64_t>::min();
    }
    if (!(x < limit)) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(x);
}

// Out at double speed over the first half of the change, then In over the second half.
template <EasingFunction out, EasingFunction in>
float outIn(std::int64_t currentFrame, float sourceValue, float amount, std::int64_t numFrames)
{
    const float half = amount / 2.0f;
    if (currentFrame < numFrames / 2) {
        return out(2 * currentFrame, sourceValue, half, numFrames);
    }
    // 2 x currentFrame - numFrames, without overflowing for frames up to numFrames.
    const std::int64_t secondHalfFrame = currentFrame + (currentFrame - numFrames);
    return in(secondHalfFrame, sourceValue + half, half, numFrames);
}

float polynomialIn(const Position& p, float b, float c, int n)
{
    return c * power(p.t, n) + b;
}

// Out and InOut of Cubic, Quart and Quint. With u = t - 1 (or h - 2) never above 0,
// the odd powers' u^n + 1 and the even power's 1 - u^n are both 1 - (-u)^n, and are so
// bit for bit, as float rounding is symmetric in sign.
float polynomialOut(const Position& p, float b, float c, int n)
{
    return c * (1.0f - power(1.0f - p.t, n)) + b;
}

float polynomialInOut(const Position& p, float b, float c, int n)
{
    if (p.h < 1.0f) {
        return (c / 2.0f) * power(p.h, n) + b;
    }
    return (c / 2.0f) * (2.0f - power(2.0f - p.h, n)) + b;
}

} // namespace

// In the curves below b is the source value, c the amount (total change), as in the
// equations they come from.

EasingFunction Easing::forType(EnumEasing type)
{
    static constexpr std::array<EasingFunction, 42> curves{
        easeNone,
        easeInQuad, easeOutQuad, easeInOutQuad, easeOutInQuad,
        easeInCubic, easeOutCubic, easeInOutCubic, easeOutInCubic,
        easeInQuart, easeOutQuart, easeInOutQuart, easeOutInQuart,
        easeInQuint, easeOutQuint, easeInOutQuint, easeOutInQuint,
        easeInSine, easeOutSine, easeInOutSine, easeOutInSine,
        easeInExpo, easeOutExpo, easeInOutExpo, easeOutInExpo,
        easeInCirc, easeOutCirc, easeInOutCirc, easeOutInCirc,
        easeInElastic, easeOutElastic, easeInOutElastic, easeOutInElastic,
        easeInBack, easeOutBack, easeInOutBack, easeOutInBack,
        easeInBounce, easeOutBounce, easeInOutBounce, easeOutInBounce,
        easeNone,
    };
    // A value forged by a cast outside the cases must not index past the table.
    const auto raw = enumEasingFromRaw(static_cast<std::int64_t>(type));
    return raw ? curves[static_cast<std::size_t>(*raw)] : easeNone;
}

float Easing::easeNone(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return c * p.f / p.n + b;
}

// Quad

float Easing::easeInQuad(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialIn(positionOf(currentFrame, numFrames), b, c, 2);
}

float Easing::easeOutQuad(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return (-c) * p.t * (p.t - 2.0f) + b;
}

float Easing::easeInOutQuad(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.h < 1.0f) {
        return (c / 2.0f) * power(p.h, 2) + b;
    }
    const float u = p.h - 1.0f;
    return ((-c) / 2.0f) * (u * (u - 2.0f) - 1.0f) + b;
}

float Easing::easeOutInQuad(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutQuad, easeInQuad>(currentFrame, b, c, numFrames);
}

// Cubic

float Easing::easeInCubic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialIn(positionOf(currentFrame, numFrames), b, c, 3);
}

float Easing::easeOutCubic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialOut(positionOf(currentFrame, numFrames), b, c, 3);
}

float Easing::easeInOutCubic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialInOut(positionOf(currentFrame, numFrames), b, c, 3);
}

float Easing::easeOutInCubic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutCubic, easeInCubic>(currentFrame, b, c, numFrames);
}

// Quart

float Easing::easeInQuart(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialIn(positionOf(currentFrame, numFrames), b, c, 4);
}

float Easing::easeOutQuart(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialOut(positionOf(currentFrame, numFrames), b, c, 4);
}

float Easing::easeInOutQuart(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialInOut(positionOf(currentFrame, numFrames), b, c, 4);
}

float Easing::easeOutInQuart(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutQuart, easeInQuart>(currentFrame, b, c, numFrames);
}

// Quint

float Easing::easeInQuint(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialIn(positionOf(currentFrame, numFrames), b, c, 5);
}

float Easing::easeOutQuint(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialOut(positionOf(currentFrame, numFrames), b, c, 5);
}

float Easing::easeInOutQuint(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return polynomialInOut(positionOf(currentFrame, numFrames), b, c, 5);
}

float Easing::easeOutInQuint(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutQuint, easeInQuint>(currentFrame, b, c, numFrames);
}

// Sine

float Easing::easeInSine(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return (-c) * std::cos(p.t * kPi / 2.0f) + c + b;
}

float Easing::easeOutSine(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return c * std::sin(p.t * kPi / 2.0f) + b;
}

float Easing::easeInOutSine(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return ((-c) / 2.0f) * (std::cos(kPi * p.f / p.n) - 1.0f) + b;
}

float Easing::easeOutInSine(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutSine, easeInSine>(currentFrame, b, c, numFrames);
}

// Expo: the end points are forced, as 2^-10 never reaches 0.

float Easing::easeInExpo(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.f == 0.0f) {
        return b;
    }
    return c * pow2(10.0f * (p.t - 1.0f)) + b;
}

float Easing::easeOutExpo(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.f == p.n) {
        return b + c;
    }
    return c * (1.0f - pow2((-10.0f * p.f) / p.n)) + b;
}

float Easing::easeInOutExpo(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.f == 0.0f) {
        return b;
    }
    if (p.f == p.n) {
        return b + c;
    }
    if (p.h < 1.0f) {
        return (c / 2.0f) * pow2(10.0f * (p.h - 1.0f)) + b;
    }
    return (c / 2.0f) * (2.0f - pow2(-10.0f * (p.h - 1.0f))) + b;
}

float Easing::easeOutInExpo(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutExpo, easeInExpo>(currentFrame, b, c, numFrames);
}

// Circ

float Easing::easeInCirc(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return (-c) * (std::sqrt(1.0f - p.t * p.t) - 1.0f) + b;
}

float Easing::easeOutCirc(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    const float u = p.t - 1.0f;
    return c * std::sqrt(1.0f - u * u) + b;
}

float Easing::easeInOutCirc(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.h < 1.0f) {
        return ((-c) / 2.0f) * (std::sqrt(1.0f - p.h * p.h) - 1.0f) + b;
    }
    const float u = p.h - 2.0f;
    return (c / 2.0f) * (std::sqrt(1.0f - u * u) + 1.0f) + b;
}

float Easing::easeOutInCirc(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutCirc, easeInCirc>(currentFrame, b, c, numFrames);
}

// Elastic: amplitude c, period in frames; the end points are forced.

float Easing::easeInElastic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.f == 0.0f) {
        return b;
    }
    if (p.t == 1.0f) {
        return b + c;
    }
    const float period = p.n * 0.3f;
    const float shift = period / 4.0f;
    const float u = p.t - 1.0f;
    return -(c * pow2(10.0f * u) * std::sin((u * p.n - shift) * (2.0f * kPi) / period)) + b;
}

float Easing::easeOutElastic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.f == 0.0f) {
        return b;
    }
    if (p.t == 1.0f) {
        return b + c;
    }
    const float period = p.n * 0.3f;
    const float shift = period / 4.0f;
    return c * pow2(-10.0f * p.t) * std::sin((p.t * p.n - shift) * (2.0f * kPi) / period) + c + b;
}

float Easing::easeInOutElastic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.f == 0.0f) {
        return b;
    }
    if (p.h == 2.0f) {
        return b + c;
    }
    // 0.3 x 1.5 formed in single precision: one ulp above the float nearest 0.45.
    const float period = p.n * 0.450000018f;
    const float shift = period / 4.0f;
    const float u = p.h - 1.0f;
    const float k = std::sin(((u * p.n - shift) * 2.0f * kPi) / period);
    if (p.h < 1.0f) {
        return -0.5f * (c * pow2(10.0f * u) * k) + b;
    }
    return c * pow2(-10.0f * u) * k * 0.5f + c + b;
}

float Easing::easeOutInElastic(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutElastic, easeInElastic>(currentFrame, b, c, numFrames);
}

// Back: overshoot 1.70158; the InOut pair is 1 + 1.70158 x 1.525 and 1.70158 x 1.525.

float Easing::easeInBack(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return c * p.t * p.t * (2.70158f * p.t - 1.70158f) + b;
}

float Easing::easeOutBack(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    const float u = p.t - 1.0f;
    return c * (u * u * (2.70158f * u + 1.70158f) + 1.0f) + b;
}

float Easing::easeInOutBack(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    if (p.h < 1.0f) {
        return (c / 2.0f) * (p.h * p.h * (3.5949094f * p.h - 2.5949094f)) + b;
    }
    const float u = p.h - 2.0f;
    return (c / 2.0f) * (u * u * (3.5949094f * u + 2.5949094f) + 2.0f) + b;
}

float Easing::easeOutInBack(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutBack, easeInBack>(currentFrame, b, c, numFrames);
}

// Bounce: four parabolic arcs with breakpoints and offsets at multiples of 1 / 2.75.

float Easing::easeInBounce(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    return c - easeOutBounce(truncateFrame(p.n - p.f), 0.0f, c, truncateFrame(p.n)) + b;
}

float Easing::easeOutBounce(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    constexpr float firstEnd = static_cast<float>(1.0 / 2.75);
    constexpr float secondEnd = static_cast<float>(2.0 / 2.75);
    constexpr float thirdEnd = static_cast<float>(2.5 / 2.75);
    constexpr float secondMiddle = static_cast<float>(1.5 / 2.75);
    constexpr float thirdMiddle = static_cast<float>(2.25 / 2.75);
    constexpr float fourthMiddle = static_cast<float>(2.625 / 2.75);

    const float t = positionOf(currentFrame, numFrames).t;
    if (t < firstEnd) {
        return c * (7.5625f * t * t) + b;
    }
    if (t < secondEnd) {
        const float u = t - secondMiddle;
        return c * (7.5625f * u * u + 0.75f) + b;
    }
    if (t < thirdEnd) {
        const float u = t - thirdMiddle;
        return c * (7.5625f * u * u + 0.9375f) + b;
    }
    const float u = t - fourthMiddle;
    return c * (7.5625f * u * u + 0.984375f) + b;
}

float Easing::easeInOutBounce(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    const Position p = positionOf(currentFrame, numFrames);
    const std::int64_t frames = truncateFrame(p.n);
    if (p.f < p.n / 2.0f) {
        return easeInBounce(truncateFrame(p.f * 2.0f), 0.0f, c, frames) * 0.5f + b;
    }
    return easeOutBounce(truncateFrame(p.f * 2.0f - p.n), 0.0f, c, frames) * 0.5f + c * 0.5f + b;
}

float Easing::easeOutInBounce(std::int64_t currentFrame, float b, float c, std::int64_t numFrames)
{
    return outIn<easeOutBounce, easeInBounce>(currentFrame, b, c, numFrames);
}
