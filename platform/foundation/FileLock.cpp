#include "FileLock.h"

#include "FileManager.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

// Never through a link, nor waiting on a pipe: a lock file is a plain file.
constexpr int kOpening = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr mode_t kMode = 0644;

FileManagerError lockError(const std::string& path, const std::string& reason)
{
    return FileManagerError("The lock file '" + path + "' could not be locked: " + reason + ".");
}

// The lock file, made when missing; its mode is set past the umask.
FileHandle opened(const std::string& path)
{
    FileHandle made(::open(path.c_str(), kOpening | O_CREAT | O_EXCL, kMode));
    if (made.fileDescriptor() >= 0 && ::fchmod(made.fileDescriptor(), kMode) == 0) {
        return made;
    }
    if (made.fileDescriptor() >= 0 || errno != EEXIST) {
        throw lockError(path, std::strerror(errno));
    }
    FileHandle file(::open(path.c_str(), kOpening));
    struct stat status {};
    if (file.fileDescriptor() < 0 || ::fstat(file.fileDescriptor(), &status) != 0) {
        throw lockError(path, std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        throw lockError(path, "it is not a regular file");
    }
    return file;
}

} // namespace

FileLock::FileLock(const std::string& path) : file_(opened(path))
{
    while (::flock(file_.fileDescriptor(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            throw lockError(path, std::strerror(errno));
        }
    }
}
