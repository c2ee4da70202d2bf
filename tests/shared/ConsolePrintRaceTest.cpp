#include "Console.h"
#include "ConsolePrint.h"
#include "DispatchQueue.h"
#include "RunLoop.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

TEST(ConsolePrintRace, BurstsFromManyThreadsPrintEachTextOnceWholeAndInOrder)
{
    constexpr int kThreads = 4;
    constexpr int kTexts = 300;
    Console::Capture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kTexts; ++i) {
                const std::string text = std::to_string(t) + ":" + std::to_string(i) + ":" +
                                         std::string(100, static_cast<char>('a' + t));
                (i % 2 == 0 ? debugprint : safeprint)(text);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    bool drained = false;
    DispatchQueue::main().async([&] { drained = true; });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return drained; }, 10.0));

    const auto lines = capture.lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kTexts));
    std::map<int, int> next;
    for (const auto& line : lines) {
        const int thread = line.at(0) - '0';
        const std::string expected = std::to_string(thread) + ":" + std::to_string(next[thread]++) +
                                     ":" + std::string(100, static_cast<char>('a' + thread));
        ASSERT_EQ(line, expected);
    }
}
