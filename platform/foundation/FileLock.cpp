#include "FileLock.h"

#include "FileManager.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Never through a link, nor waiting on a pipe: a lock file is a plain file.
constexpr int kOpening = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr mode_t kMode = 0600;
// Short beside the bound of a wait, and beside the time a set holds the lock.
constexpr auto kRetryInterval = std::chrono::milliseconds(1);

FileManagerError lockError(const std::string& path, const std::string& reason)
{
    return FileManagerError("The lock file '" + path + "' could not be locked: " + reason + ".");
}

void checkRegular(const std::string& path, const struct stat& status)
{
    if (!S_ISREG(status.st_mode)) {
        throw lockError(path, "it is not a regular file");
    }
}

std::string folderPath(const std::string& path)
{
    const auto folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

// The folder the lock file lies in; its owner is no one when it cannot be told.
struct stat folderOf(const std::string& path)
{
    struct stat folder {};
    if (::stat(folderPath(path).c_str(), &folder) != 0) {
        folder.st_uid = static_cast<uid_t>(-1);
    }
    return folder;
}

// Made by root in another user's folder, the lock file is that user's, so
// that it keeps them out of no set of their own. Best effort, as giving a
// settings file its owner is.
void giveToFolderOwner(int descriptor, const std::string& path)
{
    const auto folder = folderOf(path);
    if (folder.st_uid != static_cast<uid_t>(-1) && folder.st_uid != ::geteuid()) {
        ::fchown(descriptor, folder.st_uid, folder.st_gid);
    }
}

// Whether the file is the process's own and has no name but the lock's: a
// hard link there may name any file, and a folder locked instead holds more
// than the lock, which must be left as they are.
bool ownAlone(const struct stat& status)
{
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid() && status.st_nlink == 1;
}

// A lock file of the process's own left readable by all by an earlier version
// is made as a new one is, in a folder of the process's own only: one of root
// in a user's folder, made private, would lock none of the user's sets. Best
// effort: the lock holds all the same.
void makePrivate(int descriptor, const std::string& path, const struct stat& status)
{
    if (ownAlone(status) && (status.st_mode & 07777) != kMode && folderOf(path).st_uid == ::geteuid()) {
        ::fchmod(descriptor, kMode);
    }
}

// When the lock file last changed: a holder marks it as it lets go.
std::pair<time_t, long> changeTime(int descriptor)
{
    struct stat status {};
    ::fstat(descriptor, &status);
    return {status.st_ctim.tv_sec, status.st_ctim.tv_nsec};
}

// Tells those waiting in other processes that the lock changes hands. Best
// effort, and only on a lock file of the process's own that has no other name.
void markChangingHands(int descriptor)
{
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && ownAlone(status)) {
        ::futimens(descriptor, nullptr);
    }
}

FileManagerError heldError(const std::string& path, const LockTurn& turn)
{
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(turn.waited());
    return lockError(path, "another still held it after " + std::to_string(waited.count()) + " ms");
}

// Where the lock file is another user's that this one may not open, its
// folder, which anyone who may read it may lock, keeps this user's processes
// out of each other's sets; the file is left as it stands, and its owner is
// not kept out.
FileHandle folderInstead(const std::string& path)
{
    FileHandle folder(::open(folderPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.fileDescriptor() < 0) {
        throw lockError(path, std::strerror(errno));
    }
    return folder;
}

// The lock file as it is, checked before opening, so that no device or pipe is
// opened, and again on what was opened, in case the path changed in between.
FileHandle existing(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        throw lockError(path, std::strerror(errno));
    }
    checkRegular(path, status);
    FileHandle file(::open(path.c_str(), kOpening));
    if (file.fileDescriptor() < 0 && errno == EACCES) {
        return folderInstead(path);
    }
    if (file.fileDescriptor() < 0 || ::fstat(file.fileDescriptor(), &status) != 0) {
        throw lockError(path, std::strerror(errno));
    }
    checkRegular(path, status);
    makePrivate(file.fileDescriptor(), path, status);
    return file;
}

// The lock file, made when missing; its mode is set past the umask.
FileHandle opened(const std::string& path)
{
    FileHandle made(::open(path.c_str(), kOpening | O_CREAT | O_EXCL, kMode));
    if (made.fileDescriptor() >= 0 && ::fchmod(made.fileDescriptor(), kMode) == 0) {
        giveToFolderOwner(made.fileDescriptor(), path);
        return made;
    }
    if (made.fileDescriptor() >= 0 || errno != EEXIST) {
        throw lockError(path, std::strerror(errno));
    }
    return existing(path);
}

} // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience)
    : turn_(path, patience), file_(opened(path))
{
    const int descriptor = file_.fileDescriptor();
    if (!turn_.awaitFirst()) {
        throw heldError(path, turn_);
    }
    // Tried again and again rather than waited for, as the system bounds no
    // wait for a lock.
    for (auto seen = changeTime(descriptor); ::flock(descriptor, LOCK_EX | LOCK_NB) != 0;) {
        if (errno == ENOLCK) {
            break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            throw lockError(path, std::strerror(errno));
        }
        if (const auto changed = changeTime(descriptor); changed != seen) {
            seen = changed;
            turn_.changedHands();
        }
        if (turn_.patienceOver()) {
            throw heldError(path, turn_);
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    turn_.took();
}

FileLock::~FileLock()
{
    markChangingHands(file_.fileDescriptor());
    turn_.letGo();
}
