// Writes the application bundle's sound files 1.m4a to 80.m4a into the folder
// named on the command line, on a few threads at once.
#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LoopRecipe.h"
#include "LoopSynthesizer.h"
#include "M4AEncoder.h"

namespace {

// Takes the next number until none is left; false when a file failed.
bool writeSounds(const std::filesystem::path& folder, std::atomic<int>& next, std::mutex& errorMutex)
{
    for (int number = next++; number <= LoopRecipe::kLoops; number = next++) {
        try {
            const LoopRecipe recipe(number);
            M4AEncoder::write(folder / (std::to_string(number) + ".m4a"), LoopSynthesizer::render(recipe),
                              static_cast<int>(LoopRecipe::kSampleRate));
        } catch (const std::exception& error) {
            std::lock_guard lock(errorMutex);
            std::cerr << "generate_bundle_sounds: " << error.what() << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: generate_bundle_sounds <folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    std::atomic<int> next { 1 };
    std::atomic<bool> failed { false };
    std::mutex errorMutex;
    std::vector<std::thread> threads;
    const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1U, 4U);
    for (unsigned index = 0; index < count; ++index)
        threads.emplace_back([&] {
            if (!writeSounds(folder, next, errorMutex))
                failed = true;
        });
    for (auto& thread : threads)
        thread.join();
    return failed ? 1 : 0;
}
