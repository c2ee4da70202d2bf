#include "PlayerRig.h"

#include "MIDIEventRing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

using Lines = std::vector<std::string>;

// Sends each event from another thread, as an effect's render thread would,
// and spoils the bytes right after each call.
void send(const AUMIDIOutputEventBlock& block, const std::vector<std::vector<std::uint8_t>>& events)
{
    std::thread renderThread([&] {
        AUEventSampleTime time = 100;
        for (auto bytes : events) {
            EXPECT_EQ(block(time++, 0, static_cast<std::int64_t>(bytes.size()), bytes.data()), noErr);
            std::fill(bytes.begin(), bytes.end(), 0xEE);
        }
    });
    renderThread.join();
}

std::string eventLine(int time, const std::string& data)
{
    return "AUEnginePlayer: MIDI event from audio unit at: " + std::to_string(time) + ", data: " + data;
}

const std::string kWarning = "AUEnginePlayer::WARNING: The MIDI data length is not as expected.";

} // namespace

TEST(AUEnginePlayerMIDITest, EventsAreLoggedOnTheMainQueueWithTheBytesTheyHold)
{
    PlayerRig rig;
    const auto silent = rig.gainUnit();
    const auto talking = rig.gainUnit({ "out" });
    EXPECT_EQ(rig.linesOf([&] { rig.player->connect(silent); }).size(), 3u);
    EXPECT_EQ(silent->auAudioUnit()->MIDIOutputEventBlock(), nullptr);
    const auto lines = rig.linesOf([&] { rig.player->connect(talking); });
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "AUEnginePlayer: The audio unit reports MIDI output names. Assigning a handling block."),
              1);
    const auto block = talking->auAudioUnit()->MIDIOutputEventBlock();
    ASSERT_NE(block, nullptr);

    EXPECT_EQ(rig.linesOf([&] {
        send(*block, { { 0x90 }, { 0x90, 60 }, { 0x90, 60, 100 }, { 0xB0, 7, 90, 1 },
                       { 0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7 } });
    }),
              (Lines { kWarning, eventLine(100, "144"), kWarning, eventLine(101, "144, 60"),
                       eventLine(102, "144, 60, 100"), kWarning, eventLine(103, "176, 7, 90"), kWarning,
                       eventLine(104, "240, 126, 127") }));

    rig.player->disconnect();
    EXPECT_EQ(talking->auAudioUnit()->MIDIOutputEventBlock(), block) << "a detached effect keeps its block";
    EXPECT_EQ(rig.linesOf([&] { send(*block, { { 0x80, 60, 0 } }); }), (Lines { eventLine(100, "128, 60, 0") }));
}

TEST(AUEnginePlayerMIDITest, EventsBeyondTheRingAreDroppedAndCounted)
{
    PlayerRig rig;
    const auto unit = rig.gainUnit({ "out" });
    rig.player->connect(unit);
    const std::vector<std::vector<std::uint8_t>> burst(MIDIEventRing::kCapacity + 44, { 0x90, 60, 100 });
    // The main queue drains only when the test settles: the whole burst is in by then.
    const auto lines = rig.linesOf([&] { send(*unit->auAudioUnit()->MIDIOutputEventBlock(), burst); });
    ASSERT_EQ(lines.size(), MIDIEventRing::kCapacity + 1);
    EXPECT_EQ(lines[MIDIEventRing::kCapacity - 1], eventLine(100 + MIDIEventRing::kCapacity - 1, "144, 60, 100"));
    EXPECT_EQ(lines.back(),
              "AUEnginePlayer::WARNING: 44 MIDI events from the audio unit were dropped: too many arrived at once.");
}
