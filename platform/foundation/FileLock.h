#pragma once

#include "FileHandle.h"
#include "LockTurn.h"

#include <chrono>
#include <string>

// An advisory lock on a file of its own, held from construction until the
// object goes. It keeps out every other FileLock on the same file, in this
// process or any other. The file holds nothing and is kept once made: were it
// removed, a process could lock a new file while another waits on the old one.
class FileLock {
public:
    // Waits until no one else holds the lock on `path`, making the file when
    // missing, as long as the lock keeps changing hands, `patience` past the
    // last change and LockTurn::kMostPatiences of it in all at most; this
    // process's threads have it in the order they asked. A file made here is
    // its owner's alone (0600), as anyone who can open it can hold it; made by
    // root in another user's folder, it is that user's. An existing file is
    // used as it stands, but for one of the process's own with no other name
    // in a folder of its own, which is made private too. The holder marks the
    // file's times as it lets go, so that those waiting in other processes see
    // the lock change hands, on a file of its own with no other name only.
    // For one the user may not open, as another user's, the folder it lies in
    // is locked instead: the user's processes are kept out of each other's
    // sets, but not the file's owner. On a file system without locks (ENOLCK)
    // whoever takes it goes on unlocked. Throws FileManagerError when the file
    // cannot be made or opened (nor then the folder), is a link or no regular
    // file (then it is not opened), cannot be locked, or is still held by
    // another when the wait is over.
    FileLock(const std::string& path, std::chrono::milliseconds patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    // Left after the file is closed, so that the next thread finds it free.
    LockTurn turn_;
    FileHandle file_;
};
