#include "Easing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

// An independent double-precision model of the curves on the unit change (0 -> 1),
// written in the normalised form t = frame / frames: every Out curve is the mirror
// 1 - In(1 - t), every InOut curve is In on the first half and Out on the second.

enum class Family { Quad, Cubic, Quart, Quint, Sine, Expo, Circ, Elastic, Back, Bounce };
enum class Variant { In, Out, InOut, OutIn };

constexpr double kBackOvershoot = 1.70158;
constexpr double kElasticPeriod = 0.3;

double bounceOut(double t)
{
    if (t < 1.0 / 2.75) {
        return 7.5625 * t * t;
    }
    if (t < 2.0 / 2.75) {
        return 7.5625 * std::pow(t - 1.5 / 2.75, 2) + 0.75;
    }
    if (t < 2.5 / 2.75) {
        return 7.5625 * std::pow(t - 2.25 / 2.75, 2) + 0.9375;
    }
    return 7.5625 * std::pow(t - 2.625 / 2.75, 2) + 0.984375;
}

double backIn(double t, double s)
{
    return t * t * ((s + 1.0) * t - s);
}

double unitIn(Family family, double t)
{
    constexpr double pi = std::numbers::pi;
    switch (family) {
    case Family::Quad: return std::pow(t, 2);
    case Family::Cubic: return std::pow(t, 3);
    case Family::Quart: return std::pow(t, 4);
    case Family::Quint: return std::pow(t, 5);
    case Family::Sine: return 1.0 - std::cos(t * pi / 2.0);
    case Family::Expo: return t == 0.0 ? 0.0 : std::pow(2.0, 10.0 * (t - 1.0));
    case Family::Circ: return 1.0 - std::sqrt(1.0 - t * t);
    case Family::Elastic: {
        if (t == 0.0 || t == 1.0) {
            return t;
        }
        const double u = t - 1.0;
        return -std::pow(2.0, 10.0 * u) * std::sin((u - kElasticPeriod / 4.0) * 2.0 * pi / kElasticPeriod);
    }
    case Family::Back: return backIn(t, kBackOvershoot);
    case Family::Bounce: return 1.0 - bounceOut(1.0 - t);
    }
    return 0.0;
}

double unitOut(Family family, double t)
{
    if (family == Family::Bounce) {
        return bounceOut(t);
    }
    return 1.0 - unitIn(family, 1.0 - t);
}

// Elastic's InOut has its own, wider period and is not a join of In and Out.
double elasticInOut(double h)
{
    constexpr double period = 0.45;
    if (h == 0.0 || h == 2.0) {
        return h / 2.0;
    }
    const double u = h - 1.0;
    const double k = std::sin((u - period / 4.0) * 2.0 * std::numbers::pi / period);
    return h < 1.0 ? -0.5 * std::pow(2.0, 10.0 * u) * k : 0.5 * std::pow(2.0, -10.0 * u) * k + 1.0;
}

double unitInOut(Family family, double h)
{
    if (family == Family::Elastic) {
        return elasticInOut(h);
    }
    if (family == Family::Back) {
        const double s = kBackOvershoot * 1.525;
        return h < 1.0 ? backIn(h, s) / 2.0 : 0.5 + (1.0 - backIn(2.0 - h, s)) / 2.0;
    }
    if (family == Family::Expo && (h == 0.0 || h == 2.0)) {
        return h / 2.0;
    }
    return h < 1.0 ? unitIn(family, h) / 2.0 : 0.5 + unitOut(family, h - 1.0) / 2.0;
}

double unitCurve(Family family, Variant variant, std::int64_t frame, std::int64_t frames)
{
    const double t = static_cast<double>(frame) / static_cast<double>(frames);
    switch (variant) {
    case Variant::In: return unitIn(family, t);
    case Variant::Out: return unitOut(family, t);
    case Variant::InOut: return unitInOut(family, 2.0 * t);
    case Variant::OutIn:
        // The halves split at the integer half of the frame count.
        if (frame < frames / 2) {
            return unitOut(family, 2.0 * t) / 2.0;
        }
        return 0.5 + unitIn(family, 2.0 * t - 1.0) / 2.0;
    }
    return 0.0;
}

struct CurveCase {
    EnumEasing type;
    EasingFunction curve;
    Family family;
    Variant variant;
};

std::string caseName(const CurveCase& c)
{
    return "curve " + std::to_string(static_cast<int>(c.type));
}

std::vector<CurveCase> allCurves()
{
    const EasingFunction named[] = {
        Easing::easeInQuad, Easing::easeOutQuad, Easing::easeInOutQuad, Easing::easeOutInQuad,
        Easing::easeInCubic, Easing::easeOutCubic, Easing::easeInOutCubic, Easing::easeOutInCubic,
        Easing::easeInQuart, Easing::easeOutQuart, Easing::easeInOutQuart, Easing::easeOutInQuart,
        Easing::easeInQuint, Easing::easeOutQuint, Easing::easeInOutQuint, Easing::easeOutInQuint,
        Easing::easeInSine, Easing::easeOutSine, Easing::easeInOutSine, Easing::easeOutInSine,
        Easing::easeInExpo, Easing::easeOutExpo, Easing::easeInOutExpo, Easing::easeOutInExpo,
        Easing::easeInCirc, Easing::easeOutCirc, Easing::easeInOutCirc, Easing::easeOutInCirc,
        Easing::easeInElastic, Easing::easeOutElastic, Easing::easeInOutElastic, Easing::easeOutInElastic,
        Easing::easeInBack, Easing::easeOutBack, Easing::easeInOutBack, Easing::easeOutInBack,
        Easing::easeInBounce, Easing::easeOutBounce, Easing::easeInOutBounce, Easing::easeOutInBounce,
    };
    std::vector<CurveCase> cases;
    for (int i = 0; i < 40; ++i) {
        cases.push_back({static_cast<EnumEasing>(1 + i), named[i], static_cast<Family>(i / 4),
                         static_cast<Variant>(i % 4)});
    }
    return cases;
}

TEST(EasingTest, EveryCurveFollowsTheDoublePrecisionModel)
{
    struct Run {
        float source;
        float amount;
        std::int64_t frames;
    };
    const Run runs[] = {{0.0f, 1.0f, 1}, {0.25f, 2.0f, 4}, {10.0f, -4.0f, 5}, {-3.0f, 7.5f, 60}, {0.0f, 1.0f, 320}};
    for (const CurveCase& c : allCurves()) {
        for (const Run& run : runs) {
            const double tolerance = 2e-6 * (std::fabs(run.source) + std::fabs(run.amount));
            for (std::int64_t frame = 0; frame <= run.frames; ++frame) {
                const double expected =
                    run.source + run.amount * unitCurve(c.family, c.variant, frame, run.frames);
                EXPECT_NEAR(c.curve(frame, run.source, run.amount, run.frames), expected, tolerance)
                    << caseName(c) << " frame " << frame << " of " << run.frames;
            }
        }
    }
}

TEST(EasingTest, EachCaseSelectsTheCurveOfItsNameAndTheOuterCasesAreLinear)
{
    for (const CurveCase& c : allCurves()) {
        EXPECT_EQ(Easing::forType(c.type), c.curve) << caseName(c);
    }
    EXPECT_EQ(Easing::forType(EnumEasing::EASING_easeNone), &Easing::easeNone);
    EXPECT_EQ(Easing::forType(EnumEasing::EASING_easeLast), &Easing::easeNone);
    EXPECT_EQ(Easing::easeNone(5, 10.0f, 4.0f, 10), 12.0f);
}

TEST(EasingTest, RawValuesOutsideZeroToFortyOneGiveNoCase)
{
    EXPECT_FALSE(enumEasingFromRaw(-1).has_value());
    EXPECT_FALSE(enumEasingFromRaw(42).has_value());
    EXPECT_EQ(enumEasingFromRaw(0), EnumEasing::EASING_easeNone);
    EXPECT_EQ(enumEasingFromRaw(22), EnumEasing::EASING_easeOutExpo);
    EXPECT_EQ(enumEasingFromRaw(41), EnumEasing::EASING_easeLast);
}

TEST(EasingTest, ExpoAndElasticEndPointsAreExact)
{
    const float b = 0.3f;
    const float c = 0.7f;
    for (std::int64_t frames : {1, 7, 320}) {
        EXPECT_EQ(Easing::easeInExpo(0, b, c, frames), b);
        EXPECT_EQ(Easing::easeOutExpo(frames, b, c, frames), b + c);
        EXPECT_EQ(Easing::easeInOutExpo(0, b, c, frames), b);
        EXPECT_EQ(Easing::easeInOutExpo(frames, b, c, frames), b + c);
        for (EasingFunction elastic : {Easing::easeInElastic, Easing::easeOutElastic, Easing::easeInOutElastic}) {
            EXPECT_EQ(elastic(0, b, c, frames), b);
            EXPECT_EQ(elastic(frames, b, c, frames), b + c);
        }
    }
    EXPECT_EQ(Easing::easeInOutExpo(60, b, c, 120), b + c / 2.0f);
}

TEST(EasingTest, BounceLandsExactlyOnTheDestination)
{
    EXPECT_EQ(Easing::easeOutBounce(1, 0.0f, 1.0f, 1), 1.0f);
    EXPECT_EQ(Easing::easeOutBounce(100, 0.0f, 1.0f, 100), 1.0f);
    EXPECT_EQ(Easing::easeInBounce(0, 0.0f, 1.0f, 100), 0.0f);
}

TEST(EasingTest, InOutCurvesPassTheMidpointOfTheChange)
{
    const float b = 2.0f;
    const float c = 6.0f;
    for (const CurveCase& c40 : allCurves()) {
        if (c40.variant == Variant::InOut) {
            EXPECT_NEAR(c40.curve(50, b, c, 100), b + c / 2.0f, 2e-6f * (b + c)) << caseName(c40);
        }
    }
}

TEST(EasingTest, OutInWithAnOddFrameCountEvaluatesItsSecondHalfFromFrameMinusOne)
{
    // 5 / 2 is 2, so frame 2 already belongs to the In half, at its frame -1:
    // 0.5 + 0.5 x (-1/5)^2.
    EXPECT_NEAR(Easing::easeOutInQuad(2, 0.0f, 1.0f, 5), 0.52f, 1e-6f);
    EXPECT_NEAR(Easing::easeOutInQuad(3, 0.0f, 1.0f, 5), 0.52f, 1e-6f);
    EXPECT_EQ(Easing::easeOutInQuad(2, 0.0f, 1.0f, 4), 0.5f);
}

TEST(EasingTest, BackOvershootsOnBothSides)
{
    std::vector<float> out;
    std::vector<float> in;
    for (std::int64_t frame = 0; frame <= 20; ++frame) {
        out.push_back(Easing::easeOutBack(frame, 0.0f, 1.0f, 20));
        in.push_back(Easing::easeInBack(frame, 0.0f, 1.0f, 20));
    }
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 1.05f);
    EXPECT_LT(*std::min_element(in.begin(), in.end()), -0.05f);
}

TEST(EasingTest, AZeroAmountStaysOnTheSource)
{
    for (const CurveCase& c : allCurves()) {
        for (std::int64_t frame = 0; frame <= 9; ++frame) {
            EXPECT_EQ(c.curve(frame, -1.5f, 0.0f, 9), -1.5f) << caseName(c) << " frame " << frame;
        }
    }
}

} // namespace
