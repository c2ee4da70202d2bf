#include <gtest/gtest.h>

#include <vector>

#include "Compander.h"
#include "Follower.h"

namespace {

// Feeds `count` copies of `value` and returns the peak afterwards.
float feed(Follower& follower, float value, int count)
{
    for (int i = 0; i < count; ++i)
        follower.processSample(value);
    return follower.getPeak();
}

// Runs a constant pair through the compander and returns the processed frames.
std::vector<std::pair<float, float>> runConstant(Compander& compander, float left, float right, int frames)
{
    std::vector<float> l(frames, left);
    std::vector<float> r(frames, right);
    compander.processBuffers(l.data(), r.data(), frames);
    std::vector<std::pair<float, float>> out;
    for (int i = 0; i < frames; ++i)
        out.emplace_back(l[i], r[i]);
    return out;
}

} // namespace

TEST(FollowerTest, RisesLinearlyByOneStepPerSampleWhateverTheInputLevel)
{
    Follower follower;
    EXPECT_NEAR(feed(follower, 100.0f, 1), 1.0 / 480.0, 1e-9);
    EXPECT_NEAR(feed(follower, 100.0f, 239), 240.0 / 480.0, 1e-7);
    EXPECT_NEAR(feed(follower, -100.0f, 240), 1.0, 1e-7);
}

TEST(FollowerTest, HoldsFourSamplesBelowThePeakThenFallsToExactlyZero)
{
    Follower follower;
    follower.setAttack(0.0001f); // raised to the 16-sample minimum: 1/16 per sample
    EXPECT_EQ(feed(follower, 2.0f, 15), 15.0f / 16.0f);
    EXPECT_EQ(feed(follower, 2.0f, 1), 1.0f);

    EXPECT_EQ(feed(follower, 1.0f, 10), 1.0f) << "samples equal to the peak neither rise nor count down";
    EXPECT_EQ(feed(follower, 0.0f, 4), 1.0f);
    EXPECT_NEAR(feed(follower, 0.0f, 1), 1.0 - 1.0 / 24000.0, 1e-7);
    EXPECT_NEAR(feed(follower, 0.0f, 11999), 0.5, 1e-7);
    EXPECT_NEAR(feed(follower, 0.0f, 11990), 10.0 / 24000.0, 1e-7);
    EXPECT_EQ(feed(follower, 0.0f, 20), 0.0f);
    EXPECT_EQ(follower.getPeakInverted(), 1.0f);
}

TEST(FollowerTest, IgnoresOutOfRangeTimesAndRestoresDefaultsWithTheRate)
{
    Follower follower;
    follower.setAttack(1.5f);
    follower.setAttack(-0.1f);
    follower.setAttack(std::numeric_limits<float>::quiet_NaN());
    EXPECT_NEAR(feed(follower, 1.0f, 48), 0.1, 1e-7) << "attack still 1/480";

    follower.setRelease(12.0f);
    follower.setDecay(2.0f);
    feed(follower, 0.0f, 4); // default hold
    EXPECT_NEAR(feed(follower, 0.0f, 24), 0.1 - 24.0 / 24000.0, 1e-7) << "release still 1/24000";

    follower.setAttack(0.0001f);
    follower.setSamplerate(96000.0f);
    follower.reset();
    EXPECT_NEAR(feed(follower, 1.0f, 96), 0.1, 1e-7) << "0.01 s at 96000 Hz";
}

TEST(CompanderTest, FollowsTheSignedSumAndDoublesInSilence)
{
    Compander compander;
    // The sum of the pair is 0, so the follower stays at 0 and the gain is 1 + 1.
    const auto out = runConstant(compander, 1e-3f, -1e-3f, 8);
    for (const auto& [l, r] : out) {
        EXPECT_EQ(l, 2e-3f);
        EXPECT_EQ(r, -2e-3f);
    }
    EXPECT_EQ(compander.getInputFollower().getPeak(), 0.0f);
}

TEST(CompanderTest, LiftsBelowUnityIsExactAtUnityAndLimitsAbove)
{
    Compander compander;
    const auto out = runConstant(compander, 0.75f, 0.75f, 600);
    // After frame i the followed peak of the sum 1.5 is (i + 1) / 480.
    const double peakFirst = 1.0 / 480.0;
    EXPECT_NEAR(out[0].first, 0.75 * (2.0 - peakFirst), 1e-6);
    EXPECT_EQ(out[479].first, 0.75f) << "peak 1.0 gives a gain of exactly 1";
    EXPECT_NEAR(out[599].first, 0.75 / (600.0 / 480.0), 1e-6);
    EXPECT_EQ(out[599].first, out[599].second);
    // The levelled sum 1.5 / p falls below the rising output peak shortly after p passes 1.2.
    EXPECT_GT(compander.getOutputFollower().getPeak(), 1.2f);
    EXPECT_LT(compander.getOutputFollower().getPeak(), compander.getInputFollower().getPeak());
}

TEST(CompanderTest, InvertedOutputsWhatTheGainRemoves)
{
    Compander compander;
    compander.setInverted(true);
    const auto silent = runConstant(compander, 1e-3f, -1e-3f, 1);
    EXPECT_EQ(silent[0].first, -1e-3f);
    EXPECT_EQ(silent[0].second, 1e-3f);

    compander.reset();
    const auto out = runConstant(compander, 0.75f, 0.75f, 480);
    EXPECT_EQ(out[479].first, 0.0f);
    EXPECT_EQ(out[479].second, 0.0f);
    EXPECT_GT(compander.getOutputFollower().getPeak(), 0.0f) << "the meter follows the levelled pair";
}

TEST(CompanderTest, MultiplierIsRaisedToMinusOneAndResetRestoresState)
{
    Compander compander;
    compander.setMultiplier(-5.0f);
    EXPECT_EQ(runConstant(compander, 1e-3f, -1e-3f, 1)[0].first, 0.0f) << "gain 1 + (-1)";
    compander.setMultiplier(0.5f);
    EXPECT_EQ(runConstant(compander, 1e-3f, -1e-3f, 1)[0].first, 1.5e-3f);

    runConstant(compander, 0.75f, 0.75f, 100);
    compander.reset();
    EXPECT_EQ(compander.getInputFollower().getPeak() + compander.getOutputFollower().getPeak(), 0.0f);

    float l = 1.0f;
    float r = 1.0f;
    compander.processBuffers(&l, &r, 0);
    compander.processBuffers(&l, &r, -3);
    EXPECT_EQ(l, 1.0f);
    EXPECT_EQ(compander.getInputFollower().getPeak(), 0.0f);
}
