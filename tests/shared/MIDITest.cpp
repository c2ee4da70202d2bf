#include "MIDIConstants.h"
#include "MyMetaEvent.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

using ::testing::ElementsAreArray;

namespace {

std::vector<std::uint8_t> bufferOf(const MyMetaEvent& event)
{
    return std::vector<std::uint8_t>(event.mem(), event.mem() + event.size());
}

} // namespace

TEST(MIDIConstants, MetaStatusIsTheReservedByteAndTheUnknownMetaTypesShareFF)
{
    EXPECT_EQ(STATUS_META, 0xFD);
    EXPECT_EQ(STATUS_META, STATUS_RESERVED4);
    EXPECT_NE(STATUS_META, STATUS_RESET);
    for (const auto type : {META_UNKNOWN, META_EXTENDEDNOTE, META_AUPARAMETER, META_AUPRESET}) {
        EXPECT_EQ(type, 0xFF);
    }
    EXPECT_EQ(CONTROLLER_SOUNDS_OFF, 120);
    EXPECT_EQ(CONTROLLER_NOTES_OFF, 123);
    EXPECT_EQ(META_SMTPOFFSET, 0x54);
    EXPECT_EQ(META_SYSEX, STATUS_SYSEX);
}

TEST(MyMetaEvent, LaysOutTheRecordByteForByte)
{
    const MyMetaEvent event(0x7F, {0, 0, 0});
    EXPECT_EQ(event.size(), 15);
    EXPECT_THAT(bufferOf(event), ElementsAreArray<std::uint8_t>({0x7F, 0, 0, 0, 3, 0, 0, 0, 0, 0,
                                                                 0, 0, 0, 0, 0}));

    const MyMetaEvent text(META_TEXT, {'a', 'b', 'c', 'd', 'e'});
    EXPECT_THAT(bufferOf(text), ElementsAreArray<std::uint8_t>({0x01, 0, 0, 0, 5, 0, 0, 0, 'a',
                                                                'b', 'c', 'd', 'e', 0, 0, 0, 0}));

    const MyMetaEvent empty(META_EOT, {});
    EXPECT_EQ(empty.size(), 12);
    EXPECT_THAT(bufferOf(empty),
                ElementsAreArray<std::uint8_t>({0x2F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(MyMetaEvent, BodySeesTheSameRecordOnEveryCall)
{
    const std::vector<std::uint8_t> data = {0x07, 0xA1, 0x20};
    const MyMetaEvent event(META_SETTEMPO, data);
    for (int call = 0; call < 3; ++call) {
        int calls = 0;
        event.withMIDIMetaEventPtr([&](const MIDIMetaEvent* record) {
            ++calls;
            EXPECT_EQ(static_cast<const void*>(record), static_cast<const void*>(event.mem()));
            EXPECT_EQ(record->metaEventType, META_SETTEMPO);
            EXPECT_EQ(record->dataLength, 3u);
            EXPECT_EQ(std::vector<std::uint8_t>(record->data, record->data + 3), data);
        });
        EXPECT_EQ(calls, 1);
    }
    static_assert(!std::is_copy_constructible_v<MyMetaEvent>);
    static_assert(!std::is_copy_assignable_v<MyMetaEvent>);
    test_MyMetaEvent();
}
