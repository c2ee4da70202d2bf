#include "Console.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kLinesPerThread = 500;

std::string lineFor(int thread, int index)
{
    // Long lines make a torn write far more likely to show.
    return "thread " + std::to_string(thread) + " line " + std::to_string(index) + " " +
           std::string(200, static_cast<char>('a' + thread));
}

void printFromThreads()
{
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLinesPerThread; ++i) {
                Console::print(lineFor(t, i));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

// Every expected line appears exactly once, whole, and each thread's lines
// keep their order.
void expectWholeLines(const std::vector<std::string>& lines)
{
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesPerThread));
    std::map<int, int> next;
    for (const auto& line : lines) {
        const int thread = line.at(7) - '0';
        ASSERT_GE(thread, 0);
        ASSERT_LT(thread, kThreads);
        ASSERT_EQ(line, lineFor(thread, next[thread]));
        ++next[thread];
    }
}

} // namespace

TEST(ConsoleRace, CapturedLinesFromManyThreadsStayWhole)
{
    Console::Capture capture;
    printFromThreads();
    expectWholeLines(capture.lines());
}

TEST(ConsoleRace, StandardOutputLinesFromManyThreadsStayWhole)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("console-race-" + std::to_string(::getpid()) + ".txt");
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    ::dup2(::fileno(file), STDOUT_FILENO);
    printFromThreads();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    std::fclose(file);

    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::filesystem::remove(path);
    expectWholeLines(lines);
}
