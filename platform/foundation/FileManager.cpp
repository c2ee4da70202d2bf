#include "FileManager.h"

#include "Bundle.h"
#include "XDGFolders.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return descriptor_; }
    // Closes now, so that a failing close can be told apart; false when it fails.
    bool close()
    {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

bool writeAll(int descriptor, const Data& data)
{
    std::size_t written = 0;
    while (written < data.size()) {
        const auto result = ::write(descriptor, data.data() + written, data.size() - written);
        if (result < 0 && errno != EINTR) {
            return false;
        }
        written += result > 0 ? static_cast<std::size_t>(result) : 0;
    }
    return true;
}

FileManagerError readError(const std::string& path, const std::string& reason)
{
    return FileManagerError("The file '" + path + "' could not be read: " + reason + ".");
}

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

void checkReadable(const std::string& path, const struct stat& status)
{
    if (!S_ISREG(status.st_mode)) {
        throw readError(path, notRegular(status.st_mode));
    }
    if (static_cast<std::uint64_t>(status.st_size) > FileManager::kMaximumContentSize) {
        throw readError(path, "it holds " + std::to_string(status.st_size) + " bytes, more than the " +
                                  std::to_string(FileManager::kMaximumContentSize) + " a file may hold to be read");
    }
}

// The file's bytes; a file that grows past the limit while it is read is refused.
Data readAll(int descriptor, const std::string& path, std::size_t expected)
{
    Data data;
    data.reserve(expected);
    std::uint8_t buffer[65536];
    for (;;) {
        const auto count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0) {
            return data;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw readError(path, std::strerror(errno));
        }
        data.insert(data.end(), buffer, buffer + count);
        if (data.size() > FileManager::kMaximumContentSize) {
            throw readError(path, "it grew past " + std::to_string(FileManager::kMaximumContentSize) +
                                      " bytes while it was read");
        }
    }
}

FileManagerError writeError(const std::string& path, int error)
{
    return FileManagerError("The file '" + path + "' could not be written: " + std::strerror(error) + ".");
}

} // namespace

FileManager& FileManager::default_()
{
    static FileManager manager;
    return manager;
}

std::vector<URL> FileManager::urls(SearchPathDirectory, SearchPathDomainMask) const
{
    const auto dataHome = XDGFolders::dataHome();
    if (!dataHome) {
        return {};
    }
    const auto documents = *dataHome / Bundle::main().bundleName() / "Documents";
    std::error_code error;
    std::filesystem::create_directories(documents, error);
    return {URL::fileURL(documents)};
}

bool FileManager::fileExists(const std::string& path) const
{
    bool isDirectory = false;
    return fileExists(path, isDirectory);
}

bool FileManager::fileExists(const std::string& path, bool& isDirectory) const
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    isDirectory = std::filesystem::is_directory(status);
    return std::filesystem::exists(status);
}

void FileManager::createDirectory(const URL& url, bool withIntermediateDirectories) const
{
    const std::filesystem::path path = url.path();
    std::error_code error;
    if (withIntermediateDirectories) {
        std::filesystem::create_directories(path, error);
        if (!error && !std::filesystem::is_directory(path)) {
            error = std::make_error_code(std::errc::not_a_directory);
        }
    } else if (!std::filesystem::create_directory(path, error) && !error) {
        error = std::make_error_code(std::errc::file_exists);
    }
    if (error) {
        throw FileManagerError("The folder '" + path.string() + "' could not be created: " +
                               error.message() + ".");
    }
}

std::vector<std::string> FileManager::contentsOfDirectory(const std::string& path) const
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(path, error), end; !error && entry != end;
         entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    if (error) {
        throw FileManagerError("The folder '" + path + "' could not be listed: " + error.message() + ".");
    }
    return names;
}

Data FileManager::contents(const std::string& path) const
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
        throw readError(path, std::strerror(errno));
    }
    checkReadable(path, status);
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0) {
        throw readError(path, std::strerror(errno));
    }
    checkReadable(path, status);
    return readAll(file.get(), path, static_cast<std::size_t>(status.st_size));
}

void FileManager::write(const Data& data, const URL& url) const
{
    const std::filesystem::path target = url.path();
    // Hidden beside the target, so that nothing listing the folder takes it
    // for a document.
    std::string hiddenName = ".";
    hiddenName += target.filename().string();
    hiddenName += ".XXXXXX";
    std::string temporary = (target.parent_path() / hiddenName).string();
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0) {
        throw writeError(target.string(), errno);
    }
    // mkstemp makes the file private; a preset file is an ordinary document.
    if (::fchmod(file.get(), 0644) != 0 || !writeAll(file.get(), data) || ::fsync(file.get()) != 0 || !file.close()
        || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw writeError(target.string(), error);
    }
}
