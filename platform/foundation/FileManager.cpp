#include "FileManager.h"

#include "Bundle.h"
#include "FileHandle.h"
#include "XDGFolders.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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

void checkSize(const std::string& path, std::uint64_t size)
{
    if (size > FileManager::kMaximumContentSize) {
        throw FileManagerError::reading(path, "it holds " + std::to_string(size) + " bytes, more than the " +
                                                  std::to_string(FileManager::kMaximumContentSize) +
                                                  " a file may hold to be read");
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
            throw FileManagerError::reading(path, errno);
        }
        data.insert(data.end(), buffer, buffer + count);
        if (data.size() > FileManager::kMaximumContentSize) {
            throw FileManagerError::reading(path, "it grew past " +
                                                      std::to_string(FileManager::kMaximumContentSize) +
                                                      " bytes while it was read");
        }
    }
}

FileManagerError writeError(const std::string& path, int error)
{
    return FileManagerError("The file '" + path + "' could not be written: " + std::strerror(error) + ".");
}

// The file a write replaces; none when nothing is there.
std::optional<struct stat> replacedFile(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        return status;
    }
    if (errno != ENOENT) {
        throw writeError(path, errno);
    }
    return std::nullopt;
}

// Best effort: the owner and group of the replaced file where the process may
// give them (as root), else its group alone where the process belongs to it.
// Where the system gives neither (no right to, an owner unmapped in a user
// namespace, a file system without owners), the new file stays the process's
// own, as it is when the replaced one was the process's own too.
void keepOwner(int descriptor, const struct stat& replaced)
{
    struct stat made {};
    if (::fstat(descriptor, &made) == 0 && made.st_uid == replaced.st_uid && made.st_gid == replaced.st_gid) {
        return;
    }
    if (::fchown(descriptor, replaced.st_uid, replaced.st_gid) != 0) {
        ::fchown(descriptor, static_cast<uid_t>(-1), replaced.st_gid);
    }
}

// mkstemp makes the file private: a new preset or settings file is an
// ordinary document, and a replaced one is no more open than it was. The
// owner goes first, as a change of owner clears the set-ID bits; only the
// mode must be kept.
bool keepAttributes(int descriptor, const std::optional<struct stat>& replaced)
{
    if (!replaced) {
        return ::fchmod(descriptor, 0644) == 0;
    }
    keepOwner(descriptor, *replaced);
    return ::fchmod(descriptor, replaced->st_mode & 07777) == 0;
}

FileManagerError linksError(const std::string& path, int error)
{
    return FileManagerError("The links from '" + path + "' cannot be followed: " + std::strerror(error) + ".",
                            error);
}

// As many links as the system follows in one path.
constexpr int kMaximumLinks = 40;

} // namespace

FileManagerError FileManagerError::reading(const std::string& path, const std::string& reason)
{
    return FileManagerError("The file '" + path + "' could not be read: " + reason + ".");
}

FileManagerError FileManagerError::reading(const std::string& path, int code)
{
    return FileManagerError("The file '" + path + "' could not be read: " + std::strerror(code) + ".", code);
}

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
    const auto file = FileHandle::forReadingAtPath(path);
    const auto size = file.size();
    checkSize(path, size);
    return readAll(file.fileDescriptor(), path, static_cast<std::size_t>(size));
}

void FileManager::write(const Data& data, const URL& url) const
{
    write(data, url.path());
}

void FileManager::write(const Data& data, const std::string& path) const
{
    const std::filesystem::path target = path;
    const auto replaced = replacedFile(path);
    // Hidden beside the target, so that nothing listing the folder takes it
    // for a document.
    std::string hiddenName = ".";
    hiddenName += target.filename().string();
    hiddenName += ".XXXXXX";
    std::string temporary = (target.parent_path() / hiddenName).string();
    FileHandle file(::mkstemp(temporary.data()));
    if (file.fileDescriptor() < 0) {
        throw writeError(target.string(), errno);
    }
    if (!keepAttributes(file.fileDescriptor(), replaced) || !writeAll(file.fileDescriptor(), data)
        || ::fsync(file.fileDescriptor()) != 0 || !file.close()
        || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw writeError(target.string(), error);
    }
}

std::string FileManager::destinationOfSymbolicLinks(const std::string& path) const
{
    std::filesystem::path destination = path;
    for (int links = 0;; ++links) {
        std::error_code error;
        const auto status = std::filesystem::symlink_status(destination, error);
        if (error && error != std::errc::no_such_file_or_directory) {
            throw linksError(path, error.value());
        }
        if (!std::filesystem::is_symlink(status)) {
            return destination.string();
        }
        const auto target = std::filesystem::read_symlink(destination, error);
        if (links == kMaximumLinks || error) {
            throw linksError(path, error ? error.value() : ELOOP);
        }
        // Never made lexically normal: the system takes a ".." in a target
        // from the folder the link really is in, which a link may lead to.
        destination = destination.parent_path() / target;
    }
}
