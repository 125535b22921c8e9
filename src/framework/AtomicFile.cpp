#include "framework/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {

// Distinguishes the temporary names of writes running at the same time.
std::atomic<unsigned> writeCounter{0};

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Flushes the folder that holds path, so that a rename into it survives a
// power loss. A folder that cannot be opened for reading is no failure of the
// write (the file itself is whole); a failing flush is.
bool SyncFolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    // Some file systems cannot flush a folder; the data is no less written.
    const bool ok = rc == 0 || errno == EINVAL || errno == EROFS;
    ::close(fd);
    return ok;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size) {
    if (path.empty()) return false;
    std::string temp;
    int fd = -1;
    // A name left behind by a crashed run is skipped, not reused; a bounded number of tries.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(writeCounter.fetch_add(1));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, static_cast<const unsigned char*>(data), size);
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself is only durable once the folder's entry is on disk.
    return SyncFolderOf(path);
}
