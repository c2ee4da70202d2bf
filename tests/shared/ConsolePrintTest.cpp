#include "Console.h"
#include "ConsolePrint.h"
#include "ManualClock.h"
#include "RunLoop.h"
#include "Timer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ConsolePrint, NothingPrintsUntilTheMainRunLoopRuns)
{
    ManualClock clock;
    Console::Capture capture;
    debugprint("first");
    safeprint("second");
    debugprint("");
    EXPECT_THAT(capture.lines(), IsEmpty());
    clock.advance(0);
    EXPECT_THAT(capture.lines(), ElementsAre("first", "second", ""));
}

TEST(ConsolePrint, PrintsFromATimerComeAfterTheTimersOwnWork)
{
    ManualClock clock;
    Console::Capture capture;
    auto timer = Timer::scheduledTimer(0.1, true, [](Timer& self) {
        safeprint("tick");
        Console::print("direct");
        self.invalidate();
    });
    clock.advance(0.1);
    EXPECT_THAT(capture.lines(), ElementsAre("direct", "tick"));
}
