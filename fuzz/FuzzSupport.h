#pragma once
// What every fuzz target shares: fatal errors that throw instead of ending
// the process (a refused input is an answer, not a finding), a private
// temporary folder, and the loopback addresses the network targets use.
#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>

#include "framework/Fatal.h"

namespace fuzz {

// While alive, FatalError throws FatalExit; the target catches it.
class ThrowingFatal {
public:
    ThrowingFatal() {
        previous = SetFatalSink([](const std::string& text, const std::string& caption, int status) {
            throw FatalExit{text, caption, status};
        });
    }
    ~ThrowingFatal() { SetFatalSink(std::move(previous)); }
    ThrowingFatal(const ThrowingFatal&) = delete;
    ThrowingFatal& operator=(const ThrowingFatal&) = delete;

private:
    FatalSink previous;
};

// A folder of the process's own, removed at exit; in memory where the system
// has a memory file system (the targets write a file per input).
class TempFolder {
public:
    TempFolder() {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "gf-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path; }
    std::string operator/(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

// 127.<a>.<b>.<host>: a loopback network of the process's own, so targets
// running side by side never meet.
inline std::string LoopbackIp(int host) {
    static const std::string prefix = [] {
        std::random_device rd;
        return "127." + std::to_string(20 + rd() % 200) + "." + std::to_string(1 + rd() % 250) + ".";
    }();
    return prefix + std::to_string(host);
}

}  // namespace fuzz
