#include "Easing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

// An independent double-precision model of the curves for a unit change, in the
// normalised form t = frame / frames: each Out curve is the mirror 1 - In(1 - t), each
// InOut curve is In on the first half and Out on the second (Elastic has its own).
enum class Family { Quad, Cubic, Quart, Quint, Sine, Expo, Circ, Elastic, Back, Bounce };
enum class Variant { In, Out, InOut, OutIn };

constexpr double pi = std::numbers::pi;

double bounceOut(double t)
{
    if (t < 1.0 / 2.75)
        return 7.5625 * t * t;
    const double middle = t < 2.0 / 2.75 ? 1.5 : t < 2.5 / 2.75 ? 2.25 : 2.625;
    const double lift = t < 2.0 / 2.75 ? 0.75 : t < 2.5 / 2.75 ? 0.9375 : 0.984375;
    return 7.5625 * std::pow(t - middle / 2.75, 2) + lift;
}

double backIn(double t, double s) { return t * t * ((s + 1.0) * t - s); }

double unitIn(Family family, double t)
{
    switch (family) {
    case Family::Sine: return 1.0 - std::cos(t * pi / 2.0);
    case Family::Expo: return t == 0.0 ? 0.0 : std::pow(2.0, 10.0 * (t - 1.0));
    case Family::Circ: return 1.0 - std::sqrt(1.0 - t * t);
    case Family::Elastic:
        return t == 0.0 || t == 1.0 ? t : -std::pow(2.0, 10.0 * (t - 1.0)) * std::sin((t - 1.075) * 2.0 * pi / 0.3);
    case Family::Back: return backIn(t, 1.70158);
    case Family::Bounce: return 1.0 - bounceOut(1.0 - t);
    default: return std::pow(t, static_cast<int>(family) + 2);
    }
}

double unitOut(Family family, double t)
{
    return family == Family::Bounce ? bounceOut(t) : 1.0 - unitIn(family, 1.0 - t);
}

double unitInOut(Family family, double h)
{
    if (family == Family::Elastic) {
        if (h == 0.0 || h == 2.0)
            return h / 2.0;
        const double u = h - 1.0;
        const double k = std::sin((u - 0.1125) * 2.0 * pi / 0.45);
        return h < 1.0 ? -0.5 * std::pow(2.0, 10.0 * u) * k : 0.5 * std::pow(2.0, -10.0 * u) * k + 1.0;
    }
    if (family == Family::Back) {
        const double s = 1.70158 * 1.525;
        return h < 1.0 ? backIn(h, s) / 2.0 : 1.0 - backIn(2.0 - h, s) / 2.0;
    }
    if (family == Family::Expo && (h == 0.0 || h == 2.0))
        return h / 2.0;
    return h < 1.0 ? unitIn(family, h) / 2.0 : 0.5 + unitOut(family, h - 1.0) / 2.0;
}

double unitCurve(Family family, Variant variant, std::int64_t frame, std::int64_t frames)
{
    const double t = static_cast<double>(frame) / static_cast<double>(frames);
    switch (variant) {
    case Variant::In: return unitIn(family, t);
    case Variant::Out: return unitOut(family, t);
    case Variant::InOut: return unitInOut(family, 2.0 * t);
    case Variant::OutIn: // the halves split at the integer half of the frame count
        return frame < frames / 2 ? unitOut(family, 2.0 * t) / 2.0 : 0.5 + unitIn(family, 2.0 * t - 1.0) / 2.0;
    }
    return 0.0;
}

struct Curve {
    EnumEasing type;
    EasingFunction function;
    Family family;
    Variant variant;
    std::string name() const { return "curve " + std::to_string(static_cast<int>(type)); }
};

// The forty curves as their cases select them.
std::vector<Curve> curves()
{
    std::vector<Curve> list;
    for (int i = 0; i < 40; ++i) {
        const auto type = static_cast<EnumEasing>(1 + i);
        list.push_back({type, Easing::forType(type), static_cast<Family>(i / 4), static_cast<Variant>(i % 4)});
    }
    return list;
}

TEST(EasingTest, EveryCurveFollowsTheDoublePrecisionModel)
{
    struct Run {
        float source;
        float amount;
        std::int64_t frames;
    };
    for (const Curve& curve : curves()) {
        for (const Run run : {Run{0.0f, 1.0f, 1}, Run{0.25f, 2.0f, 4}, Run{10.0f, -4.0f, 5}, Run{-3.0f, 7.5f, 60},
                              Run{0.0f, 1.0f, 320}}) {
            const double tolerance = 2e-6 * (std::fabs(run.source) + std::fabs(run.amount));
            for (std::int64_t frame = 0; frame <= run.frames; ++frame) {
                const double expected = run.source + run.amount * unitCurve(curve.family, curve.variant, frame, run.frames);
                EXPECT_NEAR(curve.function(frame, run.source, run.amount, run.frames), expected, tolerance)
                    << curve.name() << " frame " << frame << " of " << run.frames;
            }
        }
    }
}

TEST(EasingTest, EachCaseSelectsItsCurveAndOnlyRawValuesZeroToFortyOneAreCases)
{
    EXPECT_EQ(Easing::forType(EnumEasing::EASING_easeInQuad), &Easing::easeInQuad);
    EXPECT_EQ(Easing::forType(EnumEasing::EASING_easeOutExpo), &Easing::easeOutExpo);
    EXPECT_EQ(Easing::forType(EnumEasing::EASING_easeOutInBounce), &Easing::easeOutInBounce);
    for (int outer : {0, 41, 99})
        EXPECT_EQ(Easing::forType(static_cast<EnumEasing>(outer)), &Easing::easeNone) << outer;
    EXPECT_EQ(Easing::easeNone(5, 10.0f, 4.0f, 10), 12.0f);
    EXPECT_EQ(enumEasingFromRaw(0), EnumEasing::EASING_easeNone);
    EXPECT_EQ(enumEasingFromRaw(41), EnumEasing::EASING_easeLast);
    EXPECT_FALSE(enumEasingFromRaw(-1).has_value());
    EXPECT_FALSE(enumEasingFromRaw(42).has_value());
}

TEST(EasingTest, EndsMiddlesAndAZeroAmountAreExact)
{
    const float b = 0.3f;
    const float c = 0.7f;
    for (std::int64_t n : {1, 7, 320}) {
        EXPECT_EQ(Easing::easeInExpo(0, b, c, n), b);
        EXPECT_EQ(Easing::easeOutExpo(n, b, c, n), b + c);
        EXPECT_EQ(Easing::easeInOutExpo(0, b, c, n), b);
        EXPECT_EQ(Easing::easeInOutExpo(n, b, c, n), b + c);
        for (EasingFunction elastic : {Easing::easeInElastic, Easing::easeOutElastic, Easing::easeInOutElastic}) {
            EXPECT_EQ(elastic(0, b, c, n), b);
            EXPECT_EQ(elastic(n, b, c, n), b + c);
        }
        EXPECT_EQ(Easing::easeOutBounce(n, 0.0f, 1.0f, n), 1.0f);
    }
    for (const Curve& curve : curves()) {
        if (curve.variant == Variant::InOut) {
            EXPECT_NEAR(curve.function(50, 2.0f, 6.0f, 100), 5.0f, 2e-5f) << curve.name();
        }
        for (std::int64_t frame = 0; frame <= 9; ++frame)
            EXPECT_EQ(curve.function(frame, -1.5f, 0.0f, 9), -1.5f) << curve.name() << " frame " << frame;
    }
}

} // namespace
