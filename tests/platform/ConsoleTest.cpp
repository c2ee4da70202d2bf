#include "Console.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using ::testing::ElementsAre;

TEST(Console, NestedCapturesTakeWholeLinesUntilTheyEndInAnyOrder)
{
    Console::Capture outer;
    Console::print("first");
    {
        Console::Capture inner;
        Console::print(std::string_view("second line", 6));
        EXPECT_THAT(inner.lines(), ElementsAre("second"));
    }
    Console::print("");
    auto early = std::make_unique<Console::Capture>();
    auto late = std::make_unique<Console::Capture>();
    early.reset();
    Console::print("to late");
    late.reset();
    Console::print("last");
    EXPECT_THAT(outer.lines(), ElementsAre("first", "", "last"));
}
