#include "AVAudioFile.h"
#include "LoopRecipe.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

// The sounds of the application bundle that the build lays out.
TEST(BundleSoundsTest, EverySoundDecodesToTwoBarsOfStereoAt48kHz)
{
    for (int number = 1; number <= LoopRecipe::kLoops; ++number) {
        const auto path = std::string(VELMORA_BUNDLE_RESOURCES) + "/" + std::to_string(number) + ".m4a";
        const AVAudioFile file(URL::fileURL(path));
        EXPECT_EQ(file.processingFormat()->sampleRate(), 48000.0) << number;
        EXPECT_EQ(file.processingFormat()->channelCount(), 2u) << number;
        EXPECT_EQ(static_cast<std::size_t>(file.length()), LoopRecipe(number).frames()) << number;
        EXPECT_GE(file.length(), 48000 * 2.5) << number;
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
