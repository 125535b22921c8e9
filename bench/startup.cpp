// The program as a player starts it: the time from start to the start-up
// window and to the first screen shown, and the resident memory after 5 s,
// with where it lies (the program image, the GL driver's libraries, the
// heap and other anonymous memory).
//
//   bench_startup [path to glimmerfall]   (default: ../src/glimmerfall beside
//                                          this program's folder)
//
// Runs the program headless (offscreen video, no sound device) with its
// documents in a temporary folder, reads its start-up milestones
// (GF_TRACE_STARTUP; all of them are printed at the end with their times,
// the sheets loaded on the way among them) and ends it after the
// measurement. A first screen later than 5 s is waited for (at most a
// minute) and the memory read again then; one that never comes is printed
// as such.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Resident kilobytes by where they lie, from /proc/<pid>/smaps.
std::map<std::string, long> ResidentByPlace(pid_t pid, long& total) {
    std::map<std::string, long> places;
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps");
    std::string line, place;
    total = 0;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first.find('-') != std::string::npos && first.back() != ':') {
            // A mapping's header: address perms offset dev inode [path]
            std::string perms, offset, dev, inode, path;
            words >> perms >> offset >> dev >> inode;
            std::getline(words, path);
            const auto start = path.find_first_not_of(' ');
            path = start == std::string::npos ? "" : path.substr(start);
            if (path.empty())
                place = "anonymous (GL textures and buffers, malloc arenas)";
            else if (path == "[heap]")
                place = "heap";
            else if (path.find("glimmerfall") != std::string::npos)
                place = "program image (code and embedded resources)";
            else if (path.find("LLVM") != std::string::npos || path.find("gallium") != std::string::npos ||
                     path.find("dri") != std::string::npos || path.find("mesa") != std::string::npos)
                place = "GL driver libraries";
            else if (path[0] == '[')
                place = "stacks and kernel";
            else
                place = "other libraries and files";
        } else if (first == "Rss:") {
            long kb = 0;
            words >> kb;
            places[place] += kb;
            total += kb;
        }
    }
    return places;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    fs::path program = argc > 1
                           ? fs::path(argv[1])
                           : fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "src" / "glimmerfall";
    if (!fs::exists(program)) {
        std::fprintf(stderr, "no program at %s\n", program.c_str());
        return 1;
    }
    char home[] = "/tmp/gf-startup-XXXXXX";
    if (!mkdtemp(home)) {
        std::perror("mkdtemp");
        return 1;
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 1;
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", home, 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("GF_TRACE_STARTUP", "1", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);

    // The memory is read 5 s after start. On a busy machine the first screen
    // may come later than that: the wait for it goes on, up to kScreenWaitS,
    // and the memory is read again when it is shown.
    constexpr int kScreenWaitS = 60;
    double windowMs = -1.0, screenMs = -1.0;
    std::string pending;
    // Every milestone the program traced, in the order seen: where the
    // time before the first screen goes.
    std::vector<std::pair<double, std::string>> milestones;
    const Clock::time_point sample = start + std::chrono::seconds(5);
    const Clock::time_point giveUp = start + std::chrono::seconds(kScreenWaitS);
    bool sampled = false, ended = false;
    long total = 0, totalAtScreen = 0;
    std::map<std::string, long> places;
    auto takeSample = [&] {
        places = ResidentByPlace(child, total);
        sampled = true;
    };
    while (!ended) {
        const Clock::time_point now = Clock::now();
        if (!sampled && now >= sample) takeSample();
        if (sampled && screenMs >= 0) break;
        if (now >= giveUp) break;
        const Clock::time_point until = sampled ? giveUp : sample;
        pollfd p{pipeFds[0], POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count();
        if (poll(&p, 1, static_cast<int>(std::clamp<long long>(left, 1, 1000))) > 0) {
            char bytes[512];
            const ssize_t n = read(pipeFds[0], bytes, sizeof bytes);
            if (n > 0) pending.append(bytes, static_cast<size_t>(n));
            const Clock::time_point seen = Clock::now();
            for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
                const std::string line = pending.substr(0, end);
                if (line.rfind("startup: ", 0) == 0) milestones.emplace_back(Ms(start, seen), line.substr(9));
                if (line == "startup: start-up window shown" && windowMs < 0) windowMs = Ms(start, seen);
                if (line == "startup: first screen shown" && screenMs < 0) {
                    screenMs = Ms(start, seen);
                    if (sampled) ResidentByPlace(child, totalAtScreen);
                }
            }
            if (n == 0) ended = true;  // the program closed its output
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "the program ended early (status %d)\n", status);
            fs::remove_all(home);
            return 1;
        }
    }
    if (!sampled) takeSample();
    kill(child, SIGTERM);
    for (int i = 0; i < 300 && waitpid(child, nullptr, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(child, nullptr, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(pipeFds[0]);
    std::error_code ignored;
    fs::remove_all(home, ignored);

    std::printf("the program as a player starts it (headless, software GL)\n");
    std::printf("start-up window shown      %8.0f ms\n", windowMs);
    if (screenMs >= 0)
        std::printf("first screen shown         %8.0f ms   target < 1000 ms\n", screenMs);
    else
        std::printf("first screen shown         not within %d s: no figure (the machine is too busy?)\n", kScreenWaitS);
    std::printf("resident memory after 5 s  %8.1f MB   target < 150 MB%s\n", static_cast<double>(total) / 1024.0,
                screenMs < 0 || screenMs > 5000 ? "   (the game was still loading)" : "");
    if (totalAtScreen > 0)
        std::printf("resident memory when the first screen was shown %8.1f MB\n",
                    static_cast<double>(totalAtScreen) / 1024.0);
    for (const auto& [place, kb] : places)
        std::printf("  %-52s %7.1f MB\n", place.c_str(), static_cast<double>(kb) / 1024.0);
    std::printf("milestones (ms after start)\n");
    for (const auto& [ms, what] : milestones) std::printf("  %8.0f  %s\n", ms, what.c_str());
    return screenMs < 0 ? 1 : 0;
}
