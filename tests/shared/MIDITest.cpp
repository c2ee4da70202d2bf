#include "MIDIConstants.h"
#include "MyMetaEvent.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

TEST(MyMetaEvent, LaysOutTheRecordByteForByteAndLendsIt)
{
    using Bytes = std::vector<std::uint8_t>;
    const auto bytesOf = [](const MyMetaEvent& event) { return Bytes(event.mem(), event.mem() + event.size()); };
    EXPECT_EQ(bytesOf(MyMetaEvent(0x7F, { 0, 0, 0 })), (Bytes { 0x7F, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(bytesOf(MyMetaEvent(META_TEXT, { 'a', 'b', 'c', 'd', 'e' })),
              (Bytes { 0x01, 0, 0, 0, 5, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 0, 0, 0, 0 }));
    EXPECT_EQ(bytesOf(MyMetaEvent(META_EOT, {})), (Bytes { 0x2F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }));

    const MyMetaEvent event(META_SETTEMPO, { 0x07, 0xA1, 0x20 });
    int calls = 0;
    event.withMIDIMetaEventPtr([&](const MIDIMetaEvent* record) {
        ++calls;
        EXPECT_EQ(static_cast<const void*>(record), static_cast<const void*>(event.mem()));
        EXPECT_EQ(record->dataLength, 3u);
        EXPECT_EQ(record->data[1], 0xA1);
    });
    EXPECT_EQ(calls, 1);
    static_assert(!std::is_copy_constructible_v<MyMetaEvent> && !std::is_copy_assignable_v<MyMetaEvent>);
    test_MyMetaEvent();
}
