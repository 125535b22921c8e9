#include "framework/Paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

#include "framework/UserFile.h"

namespace {

// Far more than any user-dirs file holds; a longer one is not read.
constexpr std::size_t kUserDirsLimit = 64 * 1024;

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

std::string ParseDocumentsDir(const std::string& text, const std::string& home) {
    std::istringstream in(text);
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        // The value is a double-quoted path, "$HOME/…" or absolute.
        size_t open = value.find('"');
        size_t close = value.rfind('"');
        if (open == std::string::npos || close == open) continue;
        value = value.substr(open + 1, close - open - 1);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) continue;
            value = home + value.substr(5);
        } else if (value.empty() || value[0] != '/') {
            continue;
        }
        while (value.size() > 1 && value.back() == '/') value.pop_back();
        return value;
    }
    return {};
}

std::string DocumentsFolder() {
    std::string home = Env("HOME");
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty() && !home.empty()) config = home + "/.config";
    if (!config.empty()) {
        if (std::string text; ReadUserFile(config + "/user-dirs.dirs", kUserDirsLimit, text)) {
            std::string dir = ParseDocumentsDir(text, home);
            // A documents folder equal to home is what the user-dirs tool writes
            // when it has no separate folder; either way it is a valid place.
            if (IsFolder(dir)) return dir;
        }
    }
    if (!home.empty() && IsFolder(home + "/Documents")) return home + "/Documents";
    return home;
}

std::string TemporaryPath() {
    std::string tmp = Env("TMPDIR");
    if (tmp.empty() || !IsFolder(tmp)) tmp = "/tmp";
    if (tmp.back() != '/') tmp += '/';
    return tmp;
}
