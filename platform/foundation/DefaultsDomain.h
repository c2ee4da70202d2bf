#pragma once

#include "FileLock.h"
#include "PropertyListValue.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// The file of one user-defaults domain. A file that cannot be read is reported
// on the Console and read as empty. One that is at fault itself (it holds no
// settings dictionary, is no regular file or is too large) is moved aside
// before it is overwritten, to "<file>.corrupt", or when that name is taken to
// the first free one of "<file>.corrupt.1", "<file>.corrupt.2", ..., so that no
// file kept aside is ever replaced. When it cannot be moved, or when the read
// failed in the system (no file descriptors or memory left, an I/O error, no
// permission), the write is refused and the file left as it is, so nothing
// in it is lost. A file that is a symbolic link is written through: the file at
// the end of its links (made, with its folder, when missing) is the one
// replaced or moved aside. Links that end at something other than a file (a
// folder, a device) are moved aside themselves, and what they lead to is left
// alone. A write holds a lock on "<file>.lock" beside the file it replaces from
// its read to its write, so that no write, in any process, is lost to another;
// one that waits kLockPatience while the lock does not change hands, or
// LockTurn::kMostPatiences of it in all, is refused. So is a write whose file
// could not be read back, as its content would pass the bounds of reading: the
// file is left as it is. Where the lock file is another user's that the user
// may not open, the folder it lies in is locked instead, which keeps the
// user's own writes apart but not the other user's.
class DefaultsDomain {
public:
    // Long beside any write, short enough to keep a program that waits going.
    static constexpr std::chrono::seconds kLockPatience{2};

    explicit DefaultsDomain(std::string name) : name_(std::move(name)) {}

    PropertyListValue::Dictionary read() const;
    // Sets (or, given none, removes) one key: read, change, write atomically.
    void write(const std::string& key, const std::optional<PropertyListValue>& value) const;

private:
    // None when no configuration folder can be found.
    std::optional<std::filesystem::path> file() const;
    struct Loaded {
        enum class Outcome { read, fileAtFault, readFailed };
        Outcome outcome;
        // Empty unless read.
        PropertyListValue::Dictionary content;
    };
    // A missing file reads as empty.
    Loaded load(const std::filesystem::path& file) const;
    // The file a write to `file` replaces, at the end of its symbolic links,
    // or `file` itself when they end at something other than a file; none
    // (reported) when they cannot be followed.
    std::optional<std::filesystem::path> endOfLinks(const std::filesystem::path& file,
                                                    const std::string& key) const;
    // The lock beside `file`, made with its folder when missing; none
    // (reported) when it cannot be taken.
    std::optional<FileLock> lockBeside(const std::filesystem::path& file, const std::string& key) const;
    // Reads, changes and writes `file` under its lock.
    void update(const std::filesystem::path& file, const std::string& key,
                const std::optional<PropertyListValue>& value) const;
    // Whether the loaded file may be replaced now, having moved it aside if
    // it is at fault; false (reported) when `key` must not be stored.
    bool mayReplace(Loaded::Outcome outcome, const std::filesystem::path& file,
                    const std::string& key) const;
    // Renames the file to the first free "<file>.corrupt" name; false
    // (reported) when it cannot.
    bool moveAside(const std::filesystem::path& file) const;
    // Reported when it cannot, as when the content would not be read back.
    void store(const std::filesystem::path& file,
               const PropertyListValue::Dictionary& content) const;

    std::string name_;
};
