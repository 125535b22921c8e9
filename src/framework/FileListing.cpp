#include "framework/FileListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <cstring>

namespace DLL {

namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochOffset = 11644473600LL;

std::int64_t WriteTime(const struct stat& st) {
    return (static_cast<std::int64_t>(st.st_mtim.tv_sec) + kEpochOffset) * 10000000LL +
           static_cast<std::int64_t>(st.st_mtim.tv_nsec) / 100;
}

}  // namespace

bool HasExtension(const std::string& fileName, const char* extension, std::string& baseName) {
    if (extension == nullptr) return false;
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return false;
    std::string found = fileName.substr(dot + 1);
    for (char& c : found) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    baseName = fileName.substr(0, dot);
    return found == extension;
}

void FindAllFiles(const char* folder, const char* extension, std::vector<std::string>& names,
                  std::vector<std::int64_t>& times) {
    names.clear();
    times.clear();
    if (folder == nullptr || folder[0] == '\0') return;
    DIR* dir = ::opendir(folder);
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.') continue;
        // A link to a file lists as that file; a link to a folder, a broken
        // link or anything else that is no plain file is skipped.
        struct stat st {};
        if (::fstatat(dirFd, name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        std::string base;
        if (extension != nullptr && !HasExtension(name, extension, base)) continue;
        names.emplace_back(name);
        times.push_back(WriteTime(st));
    }
    ::closedir(dir);
}

}  // namespace DLL
