#include "AUParameter.h"
#include "AUParameterTree.h"
#include "Console.h"
#include "ParameterDiagnostics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


using ::testing::ElementsAre;

namespace {

std::shared_ptr<AUParameter> parameter(AudioUnitParameterUnit unit, AudioUnitParameterOptions flags,
                                       std::optional<std::string> unitName = std::nullopt,
                                       std::optional<std::vector<std::string>> valueStrings = std::nullopt)
{
    auto made = AUParameterTree::createParameter("kTempo", "Tempo", 103, 0, 127, unit, std::move(unitName), flags,
                                                 std::move(valueStrings));
    made->setValue(1.0f);
    return made;
}

std::vector<std::string> flagLines(AudioUnitParameterOptions flags)
{
    const Console::Capture capture;
    ParameterDiagnostics::verboseFlags(flags, 0);
    return capture.lines();
}

} // namespace

TEST(ParameterDiagnostics, PrintsEveryLineOfAParameterIndentedByItsLevel)
{
    const auto tempo = parameter(AudioUnitParameterUnit::BPM, kAudioUnitParameterFlag_IsReadable
                                     | kAudioUnitParameterFlag_IsWritable, "beats", {{"slow", "fast"}});
    const Console::Capture capture;
    ParameterDiagnostics::printParameter(*tempo, 1);
    EXPECT_THAT(capture.lines(), ElementsAre("",
                                             "\tExtensionViewController: Folllowing AU parameter was found... ",
                                             "\t- address:  103",
                                             "\t- displayName:  Tempo",
                                             "\t- value:  1.0",
                                             "\t- options:  3221225472",
                                             "\t- The flag value includes the following flags... ",
                                             "\t - flag_IsReadable",
                                             "\t - flag_IsWritable",
                                             "\t- maxValue:  127.0",
                                             "\t- minValue:  0.0",
                                             "\t- unit: (type 22)  BPM",
                                             "\t- unitName:  beats",
                                             "\t- valueStrings:  [\"slow\", \"fast\"]"));
}

TEST(ParameterDiagnostics, LevelsAbsentNamesAndUnknownUnits)
{
    const auto plain = parameter(static_cast<AudioUnitParameterUnit>(27), 0);
    const Console::Capture capture;
    ParameterDiagnostics::printParameter(*plain, 0);
    ParameterDiagnostics::verboseFlags(kAudioUnitParameterFlag_CanRamp, 2);
    const auto lines = capture.lines();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[1], "ExtensionViewController: Folllowing AU parameter was found... ");
    EXPECT_EQ(lines[9], "- unit: (type 27)  unknown parameter kind");
    EXPECT_EQ(lines[10], "- unitName:  ");
    EXPECT_EQ(lines[11], "- valueStrings:  []");
    EXPECT_EQ(lines[12], "\t\t- The flag value includes the following flags... ");
    EXPECT_EQ(lines[13], "\t\t - flag_CanRamp");
    EXPECT_EQ(ParameterDiagnostics::verboseParameterKind(0), "generic");
    EXPECT_EQ(ParameterDiagnostics::verboseParameterKind(26), "customUnit");
}

TEST(ParameterDiagnostics, AnOptionPrintsOnlyWhenAllItsBitsAreSet)
{
    const std::string heading = "- The flag value includes the following flags... ";
    EXPECT_THAT(flagLines(1u << 16), ElementsAre(heading, " - flag_DisplaySquareRoot"));
    EXPECT_THAT(flagLines(3u << 16), ElementsAre(heading, " - flag_DisplaySquareRoot", " - flag_DisplaySquared",
                                                 " - flag_DisplayCubed"));
    EXPECT_THAT(flagLines((7u << 16) | (1u << 22)),
                ElementsAre(heading, " - flag_DisplayMask", " - flag_DisplaySquareRoot", " - flag_DisplaySquared",
                            " - flag_DisplayCubed", " - flag_DisplayCubeRoot", " - flag_DisplayExponential",
                            " - flag_DisplayLogarithmic"));
    const std::vector<std::string> all = flagLines(0xFFFFFFFFu);
    EXPECT_EQ(all.size(), 23u);
    EXPECT_EQ(all[1], " - flag_CFNameRelease");
    EXPECT_EQ(all.back(), " - flag_IsWritable");
    EXPECT_THAT(flagLines(0xF | (1u << 19)), ElementsAre(heading));
}
