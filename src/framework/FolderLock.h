#pragma once
#include <string>

// One copy of the program per data folder: a lock on a file in the folder
// (flock), held for the rest of the process and let go by the system when the
// process ends, however it ends, so that a copy that crashed never leaves the
// folder locked.

enum class FolderLockResult {
    Taken,          // this process holds it now (or held it already)
    HeldByAnother,  // another process holds it
    NotLockable,    // the file cannot be made or locked here
};

// Takes the lock of the file, made when missing. Taking the same file again
// in the same process answers Taken. The lock is not passed on to programs
// the process starts.
FolderLockResult LockForProcess(const std::string& lockFile);
