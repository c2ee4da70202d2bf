#pragma once

#include "FileHandle.h"

#include <chrono>
#include <string>

// An advisory lock on a file of its own, held from construction until the
// object goes. It keeps out every other FileLock on the same file, in this
// process or any other. The file holds nothing and is kept once made: were it
// removed, a process could lock a new file while another waits on the old one.
class FileLock {
public:
    // Waits at most `patience` until no one else holds the lock on `path`,
    // making the file when missing. The file is its owner's alone (0600), also
    // one made so before, as anyone who can open it can hold it; made by root
    // in another user's folder, it is that user's. On a file system without
    // locks (ENOLCK) it holds nothing, and whoever takes it goes on unlocked.
    // Throws FileManagerError when the file cannot be made or opened, is a
    // link or no regular file (then it is not opened), cannot be locked, or is
    // still held by another when the wait is over.
    FileLock(const std::string& path, std::chrono::milliseconds patience);

private:
    FileHandle file_;
};
