#include "AVAudioFile.h"
#include "LoopRecipe.h"
#include "LoopSynthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace {

float peakOf(const AVAudioFile& file)
{
    float peak = 0.0F;
    for (AVAudioChannelCount channel = 0; channel < file.processingFormat()->channelCount(); ++channel) {
        const float* samples = file.pcmBuffer()->floatChannelData(channel);
        for (AVAudioFramePosition frame = 0; frame < file.length(); ++frame)
            peak = std::max(peak, std::fabs(samples[frame]));
    }
    return peak;
}

} // namespace

// The sounds of the application bundle that the build lays out. Decoded, no
// sample comes near full scale: the codec may lift the peak the loop was
// made with by a little, never by a decibel.
TEST(BundleSoundsTest, EverySoundDecodesToTwoBarsOfStereoAt48kHzPeakingBelowFullScale)
{
    const double belowFullScale = std::pow(10.0, -1.0 / 20.0);
    const double codecCeiling = LoopSynthesizer::kPeak * std::pow(10.0, 1.0 / 20.0);
    for (int number = 1; number <= LoopRecipe::kLoops; ++number) {
        const auto path = std::string(VELMORA_BUNDLE_RESOURCES) + "/" + std::to_string(number) + ".m4a";
        const AVAudioFile file(URL::fileURL(path));
        EXPECT_EQ(file.processingFormat()->sampleRate(), 48000.0) << number;
        EXPECT_EQ(file.processingFormat()->channelCount(), 2u) << number;
        EXPECT_EQ(static_cast<std::size_t>(file.length()), LoopRecipe(number).frames()) << number;
        EXPECT_GE(file.length(), 48000 * 2.5) << number;
        const float peak = peakOf(file);
        EXPECT_LE(peak, belowFullScale) << number;
        EXPECT_LE(peak, codecCeiling) << number;
    }
}

TEST(LoopRecipeTest, EightyLoopsEachWithItsOwnPatternWaveformKeyAndTempo)
{
    std::set<std::tuple<LoopPattern, LoopWaveform, bool, int, std::size_t>> seen;
    for (int number = 1; number <= LoopRecipe::kLoops; ++number) {
        const LoopRecipe recipe(number);
        seen.insert({ recipe.pattern(), recipe.waveform(), recipe.isMinor(), recipe.root(), recipe.beatFrames() });
        for (const LoopNote& note : recipe.notes())
            ASSERT_LE(note.start + note.length, recipe.frames()) << "a note of loop " << number << " runs past its end";
    }
    EXPECT_EQ(seen.size(), 80u);
    EXPECT_THROW(LoopRecipe(0), std::out_of_range);
    EXPECT_THROW(LoopRecipe(81), std::out_of_range);
}
