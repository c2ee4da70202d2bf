#include "FileHandle.h"

#include "FileManager.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why a file of this type is not read.
std::string notRegular(mode_t mode)
{
    if (S_ISDIR(mode)) {
        return "it is a folder, not a regular file";
    }
    if (S_ISFIFO(mode)) {
        return "it is a pipe, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not a regular file";
    }
    return S_ISCHR(mode) || S_ISBLK(mode) ? "it is a device, not a regular file" : "it is not a regular file";
}

void checkRegular(const std::string& path, const struct stat& status)
{
    if (!S_ISREG(status.st_mode)) {
        throw FileManagerError::reading(path, notRegular(status.st_mode));
    }
}

} // namespace

FileHandle FileHandle::forReadingAtPath(const std::string& path)
{
    // A NUL (say from a decoded "%00" in a URL) would cut the path short and
    // open another file.
    if (path.find('\0') != std::string::npos) {
        throw FileManagerError("A path holding a NUL character cannot be read.");
    }
    // Checked before opening, so that no device is opened; checked again on
    // what was opened, in case the path changed in between. Opening without
    // blocking keeps a pipe from waiting for a writer that never comes.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw FileManagerError::reading(path, errno);
    }
    checkRegular(path, status);
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.descriptor_ < 0 || ::fstat(file.descriptor_, &status) != 0) {
        throw FileManagerError::reading(path, errno);
    }
    checkRegular(path, status);
    return file;
}

FileHandle::~FileHandle()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::uint64_t FileHandle::size() const
{
    struct stat status {};
    return ::fstat(descriptor_, &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

bool FileHandle::close()
{
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return ::close(descriptor) == 0;
}
