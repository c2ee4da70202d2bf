#include "../support/DeepPropertyLists.h"
#include "../support/PropertyListFile.h"
#include "../support/TemporaryFolder.h"
#include "Console.h"
#include "DefaultsDomain.h"
#include "FileLock.h"
#include "FileManager.h"
#include "UserDefaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <thread>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::string fileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::filesystem::perms permissions(const std::filesystem::path& file)
{
    return std::filesystem::status(file).permissions();
}

// The exit status of a child process that runs `body`, alone in it.
template <typename Body>
int childStatus(Body body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        std::_Exit(0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

// A child process that runs `body` alone in it; returns once `body` calls the
// function it is given, once, as it holds a lock.
template <typename Body>
pid_t childThatHolds(Body body)
{
    int holding[2];
    EXPECT_EQ(::pipe(holding), 0);
    const pid_t child = ::fork();
    ::close(holding[child == 0 ? 0 : 1]);
    if (child == 0) {
        body([&holding] { EXPECT_EQ(::write(holding[1], "h", 1), 1); });
        std::_Exit(0);
    }
    char held = 0;
    EXPECT_EQ(::read(holding[0], &held, 1), 1);
    ::close(holding[0]);
    return child;
}

// From now on flock fails in this process as on a file system without locks.
void refuseFileLocks()
{
    sock_filter filter[] = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_flock, 0, 1),
                            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOLCK),
                            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
    const sock_fprog program {std::size(filter), filter};
    ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program);
}

// From now on this process is root of a user namespace of its own in which
// no user or group but root has a number.
bool enterNamespaceOfRootAlone()
{
    const auto written = [](const char* file, const char* text) { return bool(std::ofstream(file) << text); };
    return ::unshare(CLONE_NEWUSER) == 0 && written("/proc/self/uid_map", "0 0 1") &&
           written("/proc/self/setgroups", "deny") && written("/proc/self/gid_map", "0 0 1");
}

class UserDefaultsTest : public ::testing::Test {
protected:
    std::filesystem::path domainFile(const std::string& domain) const
    {
        return config_.path() / (domain + ".plist");
    }

    TemporaryFolder config_;
    ScopedEnvironment configHome_{"XDG_CONFIG_HOME", config_.path().string()};
};

} // namespace

TEST_F(UserDefaultsTest, AbsentKeysGiveNeutralValues)
{
    const auto store = UserDefaults::suite("test.neutral");
    EXPECT_FALSE(store->object("missing"));
    EXPECT_FALSE(store->string("missing"));
    EXPECT_EQ(store->integer("missing"), 0);
    EXPECT_EQ(store->float_("missing"), 0.0f);
    EXPECT_FALSE(store->bool_("missing"));
    EXPECT_FALSE(store->url("missing"));
    EXPECT_FALSE(std::filesystem::exists(domainFile("test.neutral")));
}

TEST_F(UserDefaultsTest, ValuesArePersistedAsAnXMLPropertyListPerDomain)
{
    const auto store = UserDefaults::suite("test.persist");
    store->setInteger(-42, "integer");
    store->setFloat(0.1f, "float");
    store->setBool(true, "bool");
    store->setObject(PropertyListValue("text"), "string");
    store->setURL(URL::fileURL("/tmp/a b"), "url");
    store->setObject(PropertyListValue::Array{1, 2}, "array");

    EXPECT_EQ(readPropertyListFile(domainFile("test.persist")),
              (PropertyListValue::Dictionary{{"integer", -42},
                                             {"float", 0.1f},
                                             {"bool", true},
                                             {"string", "text"},
                                             {"url", "file:///tmp/a%20b"},
                                             {"array", PropertyListValue::Array{1, 2}}}));
    const auto reopened = UserDefaults::suite("test.persist");
    EXPECT_EQ(reopened->integer("integer"), -42);
    EXPECT_EQ(reopened->float_("float"), 0.1f);
    EXPECT_TRUE(reopened->bool_("bool"));
    EXPECT_EQ(reopened->string("string"), "text");
    EXPECT_EQ(reopened->url("url"), URL::fileURL("/tmp/a b"));

    reopened->setURL(std::nullopt, "url");
    reopened->removeObject("array");
    EXPECT_FALSE(store->object("url"));
    EXPECT_FALSE(store->object("array"));
    const auto leftovers = std::distance(std::filesystem::directory_iterator(config_.path()),
                                         std::filesystem::directory_iterator());
    EXPECT_EQ(leftovers, 2) << "temporary files were left behind beside the file and its lock";
}

TEST_F(UserDefaultsTest, TypedGettersConvertLikeThePlatform)
{
    const auto store = UserDefaults::suite("test.convert");
    store->setObject(PropertyListValue(2.9), "real");
    store->setObject(PropertyListValue("12.5"), "numeric text");
    store->setObject(PropertyListValue("YES"), "yes");
    store->setObject(PropertyListValue("nope"), "word");
    store->setBool(true, "flag");
    store->setObject(PropertyListValue("~/notes"), "home path");
    store->setObject(PropertyListValue(Data{1}), "data");

    EXPECT_EQ(store->integer("real"), 2);
    EXPECT_EQ(store->string("real"), "2.9");
    EXPECT_EQ(store->integer("numeric text"), 12);
    EXPECT_EQ(store->float_("numeric text"), 12.5f);
    EXPECT_TRUE(store->bool_("yes"));
    EXPECT_FALSE(store->bool_("word"));
    EXPECT_EQ(store->float_("word"), 0.0f);
    EXPECT_EQ(store->integer("flag"), 1);
    EXPECT_FALSE(store->string("flag"));
    EXPECT_FALSE(store->string("data"));
    EXPECT_EQ(store->integer("data"), 0);
    ScopedEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(store->url("home path"), URL::fileURL("/home/someone/notes"));
}

TEST_F(UserDefaultsTest, SearchListFallsBackToSuitesButWritesOwnDomain)
{
    const auto suite = UserDefaults::suite("test.group");
    suite->setInteger(1, "both");
    suite->setInteger(2, "suite only");

    const auto app = UserDefaults::suite("test.app");
    app->setInteger(10, "both");
    EXPECT_EQ(app->integer("suite only"), 0);
    app->addSuite("test.group");
    app->addSuite("test.group");
    EXPECT_EQ(app->integer("suite only"), 2);
    EXPECT_EQ(app->integer("both"), 10);
    EXPECT_EQ(app->dictionaryRepresentation(),
              (PropertyListValue::Dictionary{{"both", 10}, {"suite only", 2}}));

    app->setInteger(3, "suite only");
    EXPECT_EQ(suite->integer("suite only"), 2);
    EXPECT_EQ(UserDefaults::suite("test.group")->integer("suite only"), 2);
    EXPECT_EQ(app->integer("suite only"), 3);
}

TEST_F(UserDefaultsTest, RefusesSuiteNamesThatAreNotDomains)
{
    EXPECT_FALSE(UserDefaults::suite(""));
    EXPECT_FALSE(UserDefaults::suite("../escape"));
    EXPECT_FALSE(UserDefaults::suite(".."));
    EXPECT_FALSE(UserDefaults::suite("platform_tests"));
    EXPECT_EQ(UserDefaults::standard(), UserDefaults::standard());
    EXPECT_EQ(UserDefaults::standard()->domain(), "platform_tests");
    EXPECT_NE(UserDefaults::suite("test.x"), UserDefaults::suite("test.x"));
}

TEST_F(UserDefaultsTest, UnreadableDomainFileIsReportedAndKeptAside)
{
    std::ofstream(domainFile("test.broken")) << "<plist><dict><key>lost";
    const auto store = UserDefaults::suite("test.broken");
    Console::Capture capture;
    EXPECT_EQ(store->integer("lost"), 0);
    store->setInteger(5, "fresh");
    EXPECT_EQ(store->integer("fresh"), 5);
    EXPECT_THAT(capture.lines(),
                ElementsAre(HasSubstr("UserDefaults::ERROR: The settings file"),
                            HasSubstr("UserDefaults::ERROR: The settings file"),
                            HasSubstr("UserDefaults::ERROR: Moved the unreadable settings file")));
    std::ifstream aside(domainFile("test.broken").string() + ".corrupt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), "<plist><dict><key>lost");
}

TEST_F(UserDefaultsTest, UnreadableDomainFileThatCannotBeMovedAsideIsNotOverwritten)
{
    // The longest name a file can have, so that no name to move it to exists.
    const std::string domain = "test." + std::string(255 - 5 - 6, 's');
    std::ofstream(domainFile(domain)) << "<plist><dict><key>lost";
    const auto store = UserDefaults::suite(domain);
    Console::Capture capture;
    store->setInteger(5, "fresh");
    EXPECT_THAT(capture.lines().back(), HasSubstr("'fresh' was not stored"));
    EXPECT_EQ(fileText(domainFile(domain)), "<plist><dict><key>lost");
}

TEST_F(UserDefaultsTest, EveryUnreadableDomainFileIsKeptAsideUnderItsOwnName)
{
    const auto file = domainFile("test.again");
    std::filesystem::create_directories(file.string() + ".corrupt.1" + "/occupied");
    const auto store = UserDefaults::suite("test.again");
    const std::vector<std::string> broken {"<plist><dict><key>first", "<plist><dict><key>second",
                                           "<plist><dict><key>third"};
    Console::Capture capture;
    for (const auto& text : broken) {
        std::ofstream(file) << text;
        store->setInteger(1, "fresh");
    }
    EXPECT_EQ(fileText(file.string() + ".corrupt"), broken[0]);
    EXPECT_TRUE(std::filesystem::exists(file.string() + ".corrupt.1/occupied"));
    EXPECT_EQ(fileText(file.string() + ".corrupt.2"), broken[1]);
    EXPECT_EQ(fileText(file.string() + ".corrupt.3"), broken[2]);
    EXPECT_THAT(capture.lines().back(), HasSubstr("aside to '" + file.string() + ".corrupt.3'"));
    EXPECT_EQ(store->integer("fresh"), 1);
}

// Each of these ended the process on the first get or set.
TEST_F(UserDefaultsTest, DeepOrNulHoldingDomainFilesAreReportedAndKeptAside)
{
    const auto contents = listsThatEndedTheProcess();
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string domain = "test.hostile" + std::to_string(i);
        writeFile(domainFile(domain), contents[i]);
        const auto store = UserDefaults::suite(domain);
        Console::Capture capture;
        EXPECT_EQ(store->integer("k"), 0);
        store->setInteger(5, "fresh");
        EXPECT_EQ(store->integer("fresh"), 5);
        EXPECT_THAT(capture.lines().front(), HasSubstr("cannot be read")) << domain;
        EXPECT_EQ(fileText(domainFile(domain).string() + ".corrupt").size(), contents[i].size()) << domain;
    }
}

TEST_F(UserDefaultsTest, DomainFileOutlastsAReadThatFailsForLackOfDescriptors)
{
    const auto file = domainFile("test.passing");
    const auto store = UserDefaults::suite("test.passing");
    store->setInteger(7, "kept");
    const auto before = fileText(file);
    // UBSan checks a type through a pipe when it first meets it: the error is
    // met before the descriptors run out, the checks after.
    EXPECT_THROW(FileManager::default_().contents(config_.path().string()), FileManagerError);
    Console::Capture capture;
    rlimit saved {};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    const int lowestFree = ::dup(STDERR_FILENO);
    ::close(lowestFree);
    // One descriptor left, for the lock: the read is what runs out.
    const rlimit exhausted {static_cast<rlim_t>(lowestFree + 1), saved.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &exhausted);
    store->setInteger(8, "fresh");
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_THAT(capture.lines(), ElementsAre(HasSubstr("Too many open files"), HasSubstr("'fresh' was not stored")));
    EXPECT_EQ(fileText(file), before);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".corrupt"));
    EXPECT_EQ(store->integer("kept"), 7);
    store->setInteger(8, "fresh");
    EXPECT_EQ(readPropertyListFile(file), (PropertyListValue::Dictionary{{"kept", 7}, {"fresh", 8}}));
}

TEST_F(UserDefaultsTest, LinkedDomainFileIsWrittenThroughItsLinks)
{
    // Relative links into another folder, ending where no file is yet.
    TemporaryFolder dotfiles;
    std::filesystem::create_symlink("settings.plist", dotfiles.path() / "link.plist");
    std::filesystem::create_symlink(".." / dotfiles.path().filename() / "link.plist", domainFile("test.linked"));
    const auto store = UserDefaults::suite("test.linked");
    store->setInteger(1, "first");
    store->setInteger(2, "second");
    EXPECT_TRUE(std::filesystem::is_symlink(domainFile("test.linked")));
    EXPECT_TRUE(std::filesystem::is_symlink(dotfiles.path() / "link.plist"));
    EXPECT_EQ(readPropertyListFile(dotfiles.path() / "settings.plist"),
              (PropertyListValue::Dictionary{{"first", 1}, {"second", 2}}));
}

// A link to a folder renamed the user's folder and put the settings in its place.
TEST_F(UserDefaultsTest, LinkToAFolderIsMovedAsideAndTheFolderLeftAlone)
{
    TemporaryFolder elsewhere;
    const auto folder = elsewhere.path() / "Documents";
    std::filesystem::create_directories(folder / "kept");
    std::filesystem::create_symlink(folder, domainFile("test.folder"));
    UserDefaults::suite("test.folder")->setInteger(3, "third");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "kept"));
    EXPECT_TRUE(std::filesystem::is_symlink(domainFile("test.folder").string() + ".corrupt"));
    EXPECT_EQ(readPropertyListFile(domainFile("test.folder")), (PropertyListValue::Dictionary{{"third", 3}}));
}

// Through a ".." after a linked folder, the settings were written back in the
// configuration folder; every write made a private file everyone's to read.
TEST_F(UserDefaultsTest, LinkedFileIsReplacedWhereTheSystemLeadsWithItsModeAndOwner)
{
    TemporaryFolder other;
    const auto real = other.path() / "real.plist";
    std::filesystem::create_directory(other.path() / "deep");
    std::filesystem::create_symlink(other.path() / "deep", config_.path() / "sub");
    std::filesystem::create_symlink("sub/../real.plist", domainFile("test.through"));
    std::ofstream(config_.path() / "real.plist") << "untouched";
    const auto store = UserDefaults::suite("test.through");
    store->setInteger(1, "first");
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    ASSERT_TRUE(::geteuid() != 0 || ::chown(real.c_str(), 4321, 4322) == 0);
    struct stat before {}, after {};
    ::stat(real.c_str(), &before);
    store->setInteger(2, "second");
    ::stat(real.c_str(), &after);
    EXPECT_EQ(readPropertyListFile(real), (PropertyListValue::Dictionary{{"first", 1}, {"second", 2}}));
    EXPECT_EQ(fileText(config_.path() / "real.plist"), "untouched");
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(std::pair(after.st_uid, after.st_gid), std::pair(before.st_uid, before.st_gid));
}

// The lock held one process only: two storing at once lost half their keys.
TEST_F(UserDefaultsTest, StoresInTwoProcessesAtOnceLoseNoKey)
{
    const pid_t child = ::fork();
    const auto store = UserDefaults::suite("test.shared");
    for (int i = 0; i < 20; ++i) {
        store->setInteger(i, std::to_string(child) + "." + std::to_string(i));
    }
    if (child == 0) {
        std::_Exit(0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(store->dictionaryRepresentation().size(), 40u);
}

// A look at the file that failed for any reason but its absence took it for
// missing: a get read nothing without a word, and a set went on to replace it.
TEST_F(UserDefaultsTest, LookAtTheDomainFileThatFailsIsAReadError)
{
    std::filesystem::create_directory_symlink("loop", config_.path() / "loop");
    std::filesystem::create_symlink("loop/real.plist", domainFile("test.look"));
    const auto store = UserDefaults::suite("test.look");
    Console::Capture capture;
    EXPECT_EQ(store->integer("k"), 0);
    store->setInteger(1, "k");
    EXPECT_THAT(capture.lines(), ElementsAre(HasSubstr("could not be read: Too many levels of symbolic links."),
                                             HasSubstr("followed: Too many levels of symbolic links. 'k' was not stored")));
}

// Such a set was written, after which every get read 0 and the next set moved the file aside.
TEST_F(UserDefaultsTest, ASetWhoseFileCouldNotBeReadBackIsRefusedAndTheFileKept)
{
    const auto store = UserDefaults::suite("test.bounded");
    store->setInteger(42, "important");
    const auto before = fileText(domainFile("test.bounded"));
    const std::string longText(PropertyListSerialization::kMaximumBytes, 'x');
    for (const PropertyListValue& tooLarge : {PropertyListValue(PropertyListValue::Array(140'000, 7)),
                                              PropertyListValue(longText)}) {
        Console::Capture capture;
        store->setObject(tooLarge, "large");
        EXPECT_THAT(capture.lines(), ElementsAre(HasSubstr("could not be written: PropertyListSerialization: the "
                                                           "property list would hold more than")));
        EXPECT_EQ(fileText(domainFile("test.bounded")), before);
    }
    EXPECT_EQ(store->integer("important"), 42);
}

// Anyone who could open the lock file could hold it; a pipe or device there
// was opened before it was refused.
TEST_F(UserDefaultsTest, TheLockFileIsItsOwnersAloneAndNoOtherFileThereIsOpened)
{
    // Made by root in another user's folder, a lock that is root's alone keeps the user out.
    const bool root = ::geteuid() == 0 && ::chown(config_.path().c_str(), 4321, 4322) == 0;
    const auto earlier = domainFile("test.earlier").string() + ".lock";
    std::ofstream(earlier).close();
    ASSERT_EQ(::chmod(earlier.c_str(), 0644), 0);
    UserDefaults::suite("test.earlier")->setInteger(1, "k");
    UserDefaults::suite("test.new")->setInteger(1, "k");
    const auto made = domainFile("test.new").string() + ".lock";
    // Root's own in the user's folder stays open to the user's sets.
    EXPECT_EQ(permissions(earlier), std::filesystem::perms(root ? 0644 : 0600));
    EXPECT_EQ(permissions(made), std::filesystem::perms(0600));
    struct stat status {};
    ::stat(made.c_str(), &status);
    EXPECT_TRUE(!root || std::pair(status.st_uid, status.st_gid) == std::pair(4321u, 4322u));

    const auto pipe = domainFile("test.pipe").string() + ".lock";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(opens, pipe.c_str(), IN_OPEN), 0);
    Console::Capture capture;
    UserDefaults::suite("test.pipe")->setInteger(1, "k");
    char events[4096];
    EXPECT_EQ(::read(opens, events, sizeof events), -1) << "the pipe was opened";
    ::close(opens);
    EXPECT_THAT(capture.lines(), ElementsAre(HasSubstr("not a regular file. 'k' was not stored")));
}

// A set failed where a file's owner could not be given, as for an owner
// unmapped in a user namespace, and where the system had no file locks.
TEST_F(UserDefaultsTest, SetsStoreWhereNoOwnerCanBeGivenOrNoFileLocked)
{
    EXPECT_EQ(childStatus([] {
        refuseFileLocks();
        UserDefaults::suite("test.unlocked")->setInteger(1, "k");
    }), 0);
    EXPECT_EQ(readPropertyListFile(domainFile("test.unlocked")), (PropertyListValue::Dictionary{{"k", 1}}));

    const auto file = domainFile("test.unmapped");
    std::ofstream(file) << "<plist><dict/></plist>";
    ASSERT_EQ(::chmod(file.c_str(), 0664), 0);
    if (::geteuid() != 0 || ::chown(file.c_str(), 4321, 4322) != 0) {
        GTEST_SKIP() << "only root makes a file of another owner";
    }
    const int status = childStatus([] {
        if (!enterNamespaceOfRootAlone()) {
            std::_Exit(77);
        }
        UserDefaults::suite("test.unmapped")->setInteger(2, "k");
    });
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no user namespace can be made here";
    }
    EXPECT_EQ(readPropertyListFile(file), (PropertyListValue::Dictionary{{"k", 2}}));
    EXPECT_EQ(permissions(file), std::filesystem::perms(0664));
}

// Retried every millisecond, the lock went to whoever asked last: a set was
// refused while other sets kept taking the lock in turn, and a thread that
// asked again at once went before those already waiting. A lock file another
// user made private shut the user out of every set, and root gave whatever
// file the lock path named, a hard link too, to the folder's owner and made it
// private.
TEST_F(UserDefaultsTest, LockFilesRefuseNoSetWhileTheyChangeHandsShutOutNoUserAndChangeNoFileTheyDidNotMake)
{
    const auto busy = domainFile("test.busy").string() + ".lock";
    const pid_t holder = childThatHolds([&busy](const auto& holds) {
        for (int hold = 0; hold < 5; ++hold) {
            FileLock held(busy, DefaultsDomain::kLockPatience);
            if (hold == 0) {
                holds();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    });
    const auto store = UserDefaults::suite("test.busy");
    store->setInteger(1, "k");
    EXPECT_EQ(store->integer("k"), 1);

    const auto lock = domainFile("test.turns").string() + ".lock";
    // One that only seems to let go, again and again, keeps no wait going for ever.
    const pid_t seeming = childThatHolds([&lock](const auto& holds) {
        const int file = ::open(lock.c_str(), O_RDONLY | O_CREAT, 0600);
        ::flock(file, LOCK_EX);
        holds();
        for (;;) {
            ::futimens(file, nullptr);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    EXPECT_THROW(FileLock(lock, std::chrono::milliseconds(100)), FileManagerError);
    ::kill(seeming, SIGKILL);
    ::waitpid(seeming, nullptr, 0);

    std::vector<int> served;
    std::vector<std::thread> threads;
    {
        const FileLock first(lock, DefaultsDomain::kLockPatience);
        for (int thread = 0; thread < 3; ++thread) {
            threads.emplace_back([&lock, &served, thread] {
                for (int round = 0; round < (thread == 0 ? 2 : 1); ++round) {
                    const FileLock held(lock, DefaultsDomain::kLockPatience);
                    served.push_back(thread);
                }
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_THAT(served, ElementsAre(0, 1, 2, 0));
    ::waitpid(holder, nullptr, 0);

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root makes files of other users";
    }
    const auto asUser = [](uid_t user, const char* domain) {
        return childStatus([=] {
            if (::setgid(user) != 0 || ::setuid(user) != 0) {
                std::_Exit(1);
            }
            UserDefaults::suite(domain)->setInteger(user, std::to_string(user));
        });
    };
    ASSERT_EQ(::chmod(config_.path().c_str(), 0777), 0);
    ASSERT_EQ(asUser(4321, "test.shared"), 0);
    ASSERT_EQ(asUser(4322, "test.shared"), 0);
    EXPECT_EQ(readPropertyListFile(domainFile("test.shared")),
              (PropertyListValue::Dictionary{{"4321", 4321}, {"4322", 4322}}));
    // Beside a lock file of 4321's alone, 4322's processes were not locked against each other.
    const auto locksAs = [&](uid_t user, const auto& holding) {
        try {
            if (::setgid(user) == 0 && ::setuid(user) == 0) {
                const FileLock held(domainFile("test.shared").string() + ".lock", std::chrono::milliseconds(100));
                holding();
            }
        } catch (const FileManagerError&) {
            std::_Exit(2);
        }
    };
    const pid_t sameUser = childThatHolds([&](const auto& holds) { locksAs(4322, [&] { holds(), ::pause(); }); });
    EXPECT_EQ(WEXITSTATUS(childStatus([&] { locksAs(4322, [] {}); })), 2);
    EXPECT_EQ(childStatus([&] { locksAs(4321, [] {}); }), 0);
    ::kill(sameUser, SIGKILL);
    ::waitpid(sameUser, nullptr, 0);

    const auto other = config_.path() / "other";
    std::ofstream(other) << "root's";
    ASSERT_EQ(::chmod(other.c_str(), 0644), 0);
    ASSERT_EQ(::link(other.c_str(), (domainFile("test.linked").string() + ".lock").c_str()), 0);
    ASSERT_EQ(::chown(config_.path().c_str(), 4321, 4321), 0);
    UserDefaults::suite("test.linked")->setInteger(1, "k");
    struct stat status {};
    ::stat(other.c_str(), &status);
    EXPECT_EQ(std::tuple(status.st_uid, status.st_mode & 07777), std::tuple(0u, 0644u));
    EXPECT_EQ(readPropertyListFile(domainFile("test.linked")), (PropertyListValue::Dictionary{{"k", 1}}));
}
