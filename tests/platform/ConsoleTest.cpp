#include "Console.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using ::testing::ElementsAre;

TEST(Console, CaptureCollectsLinesInOrderWithoutLineEnds)
{
    Console::Capture capture;
    Console::print("first");
    Console::print("");
    Console::print(std::string_view("second line", 6));
    EXPECT_THAT(capture.lines(), ElementsAre("first", "", "second"));
}

TEST(Console, NestedCaptureTakesLinesUntilItEnds)
{
    Console::Capture outer;
    Console::print("a");
    {
        Console::Capture inner;
        Console::print("b");
        EXPECT_THAT(inner.lines(), ElementsAre("b"));
    }
    Console::print("c");
    EXPECT_THAT(outer.lines(), ElementsAre("a", "c"));
}

TEST(Console, CaptureEndedOutOfOrderStillUnlinksItself)
{
    Console::Capture base;
    auto first = std::make_unique<Console::Capture>();
    auto second = std::make_unique<Console::Capture>();
    first.reset();
    Console::print("to second");
    second.reset();
    Console::print("to base");
    EXPECT_THAT(base.lines(), ElementsAre("to base"));
}
