#include "framework/UserFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// The most that one read asks for, so that a file whose size the system
// reports wrongly (or that grows) costs no more than the limit.
constexpr std::size_t kReadStep = 64 * 1024;

}  // namespace

bool ReadUserFile(const std::string& path, std::size_t limit, std::string& out) {
    out.clear();
    // Non-blocking: opening a named pipe for reading would otherwise wait for
    // a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) <= limit;
    if (ok) {
        // The size is only a hint; the read itself stops one byte past the limit.
        out.reserve(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got <= limit) {
            const std::size_t want = std::min(kReadStep, limit + 1 - got);
            out.resize(got + want);
            const ssize_t n = ::read(fd, out.data() + got, want);
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        out.resize(got);
        if (got > limit) ok = false;
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}
