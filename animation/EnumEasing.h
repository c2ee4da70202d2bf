#pragma once

#include <cstdint>
#include <optional>

// Selects an easing curve. The forty curves are numbered 1 + 4 x family + variant,
// families Quad, Cubic, Quart, Quint, Sine, Expo, Circ, Elastic, Back, Bounce and
// variants In, Out, InOut, OutIn.
enum class EnumEasing : std::int64_t {
    EASING_easeNone = 0,
    EASING_easeInQuad, EASING_easeOutQuad, EASING_easeInOutQuad, EASING_easeOutInQuad,
    EASING_easeInCubic, EASING_easeOutCubic, EASING_easeInOutCubic, EASING_easeOutInCubic,
    EASING_easeInQuart, EASING_easeOutQuart, EASING_easeInOutQuart, EASING_easeOutInQuart,
    EASING_easeInQuint, EASING_easeOutQuint, EASING_easeInOutQuint, EASING_easeOutInQuint,
    EASING_easeInSine, EASING_easeOutSine, EASING_easeInOutSine, EASING_easeOutInSine,
    EASING_easeInExpo, EASING_easeOutExpo, EASING_easeInOutExpo, EASING_easeOutInExpo,
    EASING_easeInCirc, EASING_easeOutCirc, EASING_easeInOutCirc, EASING_easeOutInCirc,
    EASING_easeInElastic, EASING_easeOutElastic, EASING_easeInOutElastic, EASING_easeOutInElastic,
    EASING_easeInBack, EASING_easeOutBack, EASING_easeInOutBack, EASING_easeOutInBack,
    EASING_easeInBounce, EASING_easeOutBounce, EASING_easeInOutBounce, EASING_easeOutInBounce,
    EASING_easeLast = 41
};

// The case with the given raw value; none outside 0 ... 41.
inline std::optional<EnumEasing> enumEasingFromRaw(std::int64_t raw)
{
    if (raw < static_cast<std::int64_t>(EnumEasing::EASING_easeNone) ||
        raw > static_cast<std::int64_t>(EnumEasing::EASING_easeLast)) {
        return std::nullopt;
    }
    return static_cast<EnumEasing>(raw);
}
