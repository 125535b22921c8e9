#include "platform/window/WebPage.h"

#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

namespace {

// Game thread only, like the buttons that open pages.
std::vector<pid_t> openers;

// Reaps the openers that have ended, so none stays behind as a zombie.
void ReapEnded() {
    for (auto it = openers.begin(); it != openers.end();) {
        if (waitpid(*it, nullptr, WNOHANG) != 0) {
            it = openers.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace

bool OpenWebPage(const std::string& address) {
    if (address.empty()) return false;
    ReapEnded();
    std::string program = "xdg-open";
    std::string argument = address;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    openers.push_back(pid);
    return true;
}
