#pragma once

#include <cstdint>
#include <string>

// An open file descriptor, closed when the handle goes.
class FileHandle {
public:
    // Opens `path` for reading under the rules for every file the programs
    // read: only a regular file (not a folder, pipe, socket or device, also
    // through a link), opened without waiting for a writer. Throws
    // FileManagerError, saying why, when the path holds a NUL character, names
    // no regular file or cannot be opened.
    static FileHandle forReadingAtPath(const std::string& path);

    // Takes over `descriptor`; a negative one stands for no file.
    explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : descriptor_(other.descriptor_) { other.descriptor_ = -1; }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;

    int fileDescriptor() const { return descriptor_; }
    // The file's size now; 0 when it cannot be told.
    std::uint64_t size() const;
    // Closes now, so that a failing close can be told apart; false when it fails.
    bool close();

private:
    int descriptor_;
};
