#include "framework/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <set>

namespace {
// The files this process has locked; their descriptors stay open.
std::mutex lockedLock;
std::set<std::string>& Locked() {
    static std::set<std::string> files;
    return files;
}
}  // namespace

FolderLockResult LockForProcess(const std::string& lockFile) {
    std::lock_guard<std::mutex> hold(lockedLock);
    if (Locked().count(lockFile) != 0) return FolderLockResult::Taken;
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return FolderLockResult::NotLockable;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? FolderLockResult::HeldByAnother : FolderLockResult::NotLockable;
    }
    Locked().insert(lockFile);
    return FolderLockResult::Taken;
}
