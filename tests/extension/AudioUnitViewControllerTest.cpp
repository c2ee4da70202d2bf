#include "AudioUnitError.h"
#include "AudioUnitViewController.h"
#include "Console.h"
#include "ManualClock.h"
#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using ::testing::ElementsAre;

namespace {

constexpr AudioComponentDescription kEffect{0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0};

} // namespace

TEST(AudioUnitViewController, AFailingUnitLeavesTheUnitItHad)
{
    ManualClock clock;
    const auto controller = std::make_shared<AudioUnitViewController>();
    const auto unit = controller->createAudioUnit(kEffect);
    ASSERT_TRUE(unit);
    EXPECT_EQ(controller->audioUnit(), unit);
    Console::Capture capture;
    EXPECT_THROW(controller->createAudioUnit({0, 0x6B627277, 0x5A554E4B, 0, 0}), AudioUnitError);
    EXPECT_EQ(controller->audioUnit(), unit);
    clock.advance(0);
    const auto lines = capture.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "AU Diagnostics: AUAudioUnit::didSet()"), 0);
}

TEST(AudioUnitViewController, ParametersByAddressNeedAConnection)
{
    const auto controller = std::make_shared<AudioUnitViewController>();
    Console::Capture capture;
    controller->setParameter(103, 2.0f);
    EXPECT_EQ(controller->getParameter(-1), 0.0f);
    EXPECT_THAT(capture.lines(),
                ElementsAre("AudioUnitViewController: ERROR: The parameter address 103 is not available.",
                            "AudioUnitViewController: ERROR: The parameter address -1 is not available."));
}
