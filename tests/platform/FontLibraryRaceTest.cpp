#include "UIFont.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Threads that ask for fonts at once, the same names and new ones, each get
// the answer a lookup gives: the kept answers are shared safely.
TEST(FontLibraryRace, ThreadsAskingAtOnceAllGetTheRightAnswers)
{
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([thread, &wrong] {
            for (int ask = 0; ask < 20; ++ask) {
                const bool known = UIFont::named(ask % 2 == 0 ? "HelveticaNeue" : "HelveticaNeue-CondensedBold",
                                                 10 + ask)
                                       .has_value();
                const bool unknown =
                    UIFont::named("NoSuchFace-" + std::to_string(thread) + "-" + std::to_string(ask % 3), 12)
                        .has_value();
                wrong += !known || unknown;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}
