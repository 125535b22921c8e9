#pragma once
// Test helper: what may stand at a file's name in the user's folders that a
// reader must neither wait on nor read without end, and how many bytes the
// calling thread has read, to show that a reader stopped at its bound.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace notafile {

enum class Kind {
    NamedPipe,      // with no writer: a blocking open would wait for ever
    EndlessDevice,  // a link to /dev/zero: a read never ends
    Folder,
};

inline const char* Name(Kind kind) {
    switch (kind) {
        case Kind::NamedPipe: return "a named pipe with no writer";
        case Kind::EndlessDevice: return "a link to /dev/zero";
        case Kind::Folder: return "a folder";
    }
    return "";
}

// Puts the thing at path (nothing may be there yet); false when it could not.
inline bool Place(Kind kind, const std::string& path) {
    switch (kind) {
        case Kind::NamedPipe: return ::mkfifo(path.c_str(), 0600) == 0;
        case Kind::EndlessDevice: return ::symlink("/dev/zero", path.c_str()) == 0;
        case Kind::Folder: return ::mkdir(path.c_str(), 0700) == 0;
    }
    return false;
}

// A regular file of `size` bytes beginning with `head`, the rest one line of
// zero bytes (a sparse file: it takes no room on the disk).
inline bool PlaceLongFile(const std::string& path, const std::string& head, std::uint64_t size) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << head;
        if (!out) return false;
    }
    return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}

// Bytes the calling thread has read through the system so far.
inline std::uint64_t BytesReadByThisThread() {
    std::ifstream io("/proc/thread-self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// Bytes read by the calling thread while `run` ran, less what reading the
// counters costs itself.
template <typename Run>
std::uint64_t BytesReadBy(Run&& run) {
    const std::uint64_t before = BytesReadByThisThread();
    const std::uint64_t counting = BytesReadByThisThread() - before;
    const std::uint64_t start = BytesReadByThisThread();
    run();
    const std::uint64_t read = BytesReadByThisThread() - start;
    return read > counting ? read - counting : 0;
}

}  // namespace notafile
