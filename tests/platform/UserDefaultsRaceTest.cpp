#include "../support/TemporaryFolder.h"
#include "Console.h"
#include "UserDefaults.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int descriptorsOpenOn(const std::filesystem::path& file)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        count += std::filesystem::read_symlink(entry.path(), error) == file;
    }
    return count;
}

} // namespace

// A set waited for ever on a lock another held, as a stopped process or
// another user may, and every get and set in the process waited with it.
TEST(UserDefaultsRace, ASetWaitsForAHeldLockAWhileAloneThenIsRefused)
{
    TemporaryFolder config;
    ScopedEnvironment configHome("XDG_CONFIG_HOME", config.path().string());
    const auto held = UserDefaults::suite("test.held");
    held->setInteger(1, "kept");
    const auto lock = config.path() / "test.held.plist.lock";
    const int holder = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    Console::Capture capture;
    std::atomic<bool> refused = false;
    std::thread waiting([&] {
        held->setInteger(2, "refused");
        refused = true;
    });
    // Once the set has the lock file open, it waits for the lock.
    while (descriptorsOpenOn(lock) < 2 && !refused) {
        std::this_thread::yield();
    }
    const auto other = UserDefaults::suite("test.other");
    other->setInteger(3, "stored");
    EXPECT_EQ(other->integer("stored"), 3);
    EXPECT_EQ(held->integer("kept"), 1);
    waiting.join();
    ::close(holder);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("'refused' was not stored"), std::string::npos) << capture.lines()[0];
    EXPECT_FALSE(held->object("refused"));
}
