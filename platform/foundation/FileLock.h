#pragma once

#include "FileHandle.h"

#include <string>

// An advisory lock on a file of its own, held from construction until the
// object goes. It keeps out every other FileLock on the same file, in this
// process or any other. The file holds nothing and is kept once made: were it
// removed, a process could lock a new file while another waits on the old one.
class FileLock {
public:
    // Waits until no one else holds the lock on `path`, making the file when
    // missing, readable by all so that one user's lock keeps no other user
    // out. Throws FileManagerError when the file cannot be made or opened, is
    // a link or no regular file, or cannot be locked.
    explicit FileLock(const std::string& path);

private:
    FileHandle file_;
};
