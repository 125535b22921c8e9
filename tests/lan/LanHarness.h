#pragma once
// Real programs on a simulated LAN: each `glimmerfall` in a network namespace
// of its own (10.77.0.<n>, no default route), all joined by a bridge in
// another namespace (tests/lan/lan-net.sh makes and removes them), each with
// its own Xvfb display, a fresh home (its save file gives the player's name
// and colour; the program starts at the licence), input from a script file the harness
// appends steps to (--script), and a trace the harness reads (--trace).
//
// Every wait is bounded in real time. Every process is started here and
// ended by its id; the namespaces, and whatever still runs inside them, go
// when the LAN object goes or when the process that made it dies (the
// script that made them waits on a pipe from it).
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace lan {

namespace fs = std::filesystem;

// Milliseconds of the monotonic clock, which all processes of the machine share.
inline long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline bool IsRoot() { return ::geteuid() == 0; }

inline bool HasTool(const char* path) { return ::access(path, X_OK) == 0; }

// What keeps a LAN test from running here ("" when nothing does).
inline std::string Missing() {
    if (!IsRoot()) return "the LAN tests make network namespaces, which needs root";
    for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xwd", "/usr/bin/convert", "/bin/bash"})
        if (!HasTool(tool)) return std::string("missing ") + tool;
    if (!HasTool("/usr/sbin/ip") && !HasTool("/sbin/ip") && !HasTool("/usr/bin/ip")) return "missing ip (iproute2)";
    return "";
}

// Joins the network namespace of that name (in a child, before exec).
inline bool EnterNamespace(const std::string& name) {
    const std::string path = "/var/run/netns/" + name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::setns(fd, CLONE_NEWNET) == 0;
    ::close(fd);
    return ok;
}

// A display server started in a namespace other than the host's finds every
// display number free (the abstract local sockets it checks belong to one
// network namespace), so it takes :0 and would put its socket file in
// /tmp/.X11-unix over that of the host's own :0: a desktop test's program,
// which reaches its display through that file, would then find this machine's
// display instead, and lose it when this machine ends. So the child gets a
// folder of display socket files of its own (a mount namespace with an empty
// /tmp/.X11-unix); the machine's programs, in the same network namespace,
// reach the display through its abstract socket as before. In a child, before
// exec; false when it could not be done.
inline bool PrivateDisplaySockets() {
    const char* folder = "/tmp/.X11-unix";
    if (::mkdir(folder, 01777) != 0 && errno != EEXIST) return false;
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", folder, "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") == 0;
}

// A child that dies with its parent, in the namespace ns (none: the host's),
// with its output into log; runs argv with envp. The child's id, or -1.
inline pid_t Spawn(const std::string& ns, const std::vector<std::string>& argv, const std::vector<std::string>& envp,
                   const fs::path& log, const fs::path& cwd = {}, int keepFd = -1) {
    std::vector<char*> args, env;
    std::vector<std::string> a = argv, e = envp;
    for (std::string& s : a) args.push_back(s.data());
    args.push_back(nullptr);
    for (std::string& s : e) env.push_back(s.data());
    env.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    if (!ns.empty() && !EnterNamespace(ns)) ::_exit(126);
    if (!log.empty()) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
            ::close(out);
        }
    }
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) ::dup2(null, 0);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd) ::close(fd);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(125);
    ::execve(args[0], args.data(), env.data());
    ::_exit(127);
}

// Waits (bounded) for a child to end; its exit status, 128 + signal, or -1 if still running.
inline int Reap(pid_t pid, int waitMs) {
    const long long end = NowMs() + waitMs;
    for (;;) {
        int raw = 0;
        const pid_t r = ::waitpid(pid, &raw, WNOHANG);
        if (r == pid) return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + (WIFSIGNALED(raw) ? WTERMSIG(raw) : 0);
        if (r < 0) return -2;
        if (NowMs() >= end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// What a pipe gives until its first line ends, it closes or waitMs pass.
inline std::string ReadLine(int fd, int waitMs) {
    std::string said;
    const long long end = NowMs() + waitMs;
    while (NowMs() < end && said.find('\n') == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 200) > 0) {
            char buffer[256];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            said.append(buffer, std::size_t(n));
        }
    }
    return said;
}

// Runs a short helper to its end (bounded); its status.
inline int RunTool(const std::vector<std::string>& argv, int waitMs, const fs::path& log = {},
                   const std::string& ns = {}) {
    std::vector<std::string> env = {"PATH=/usr/sbin:/usr/bin:/sbin:/bin"};
    const pid_t pid = Spawn(ns, argv, env, log);
    if (pid < 0) return -1;
    const int status = Reap(pid, waitMs);
    if (status == -1) {
        ::kill(pid, SIGKILL);
        Reap(pid, 5000);
    }
    return status;
}

// The LAN: namespaces <prefix>-h1 … <prefix>-hN on one bridge.
class Network {
public:
    Network(int hosts, const fs::path& script) {
        static std::atomic<int> made{0};
        prefix = "gfl" + std::to_string(::getpid()) + "-" + std::to_string(made++);
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        const pid_t parent = ::getpid();
        supervisor = ::fork();
        if (supervisor == 0) {
            // A session of its own: a stop sent to the test's process group
            // leaves it alive to clean up once the test's end of the pipe closes.
            ::setsid();
            if (::getppid() != parent) ::_exit(127);
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            const std::string count = std::to_string(hosts);
            const std::string s = script.string();
            char* argv[] = {const_cast<char*>("/bin/bash"), const_cast<char*>(s.c_str()),
                            const_cast<char*>(prefix.c_str()), const_cast<char*>(count.c_str()), nullptr};
            char path[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
            char* envp[] = {path, nullptr};
            ::execve("/bin/bash", argv, envp);
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        control = in[1];
        // "ready", or the reason it failed, within a minute.
        const std::string said = ReadLine(out[0], 60000);
        ::close(out[0]);
        up = said.rfind("ready", 0) == 0;
    }
    ~Network() {
        if (control >= 0) ::close(control);
        if (supervisor > 0 && Reap(supervisor, 60000) == -1) {
            ::kill(supervisor, SIGTERM);
            Reap(supervisor, 10000);
        }
    }
    Network(const Network&) = delete;
    Network& operator=(const Network&) = delete;

    bool Up() const { return up; }
    std::string Host(int n) const { return prefix + "-h" + std::to_string(n); }
    static std::string Address(int n) { return "10.77.0." + std::to_string(n); }

private:
    std::string prefix;
    pid_t supervisor = -1;
    int control = -1;
    bool up = false;
};

struct TraceLine {
    long long ms = 0;
    std::string kind, text;
};

// One real program on the LAN.
class Machine {
public:
    std::string label;
    fs::path folder;
    pid_t pid = -1, display = -1;
    int displayNumber = -1;
    int status = -1;  // exit status once ended, -1 while running
    int host = 0;     // its number on the LAN

    fs::path Home() const { return folder / "home"; }
    fs::path Script() const { return folder / "script"; }
    fs::path TracePath() const { return folder / "trace"; }
    fs::path Log() const { return folder / "log"; }

    // Appends script steps (whole lines).
    void Say(const std::string& steps) const {
        std::ofstream out(Script(), std::ios::app);
        out << steps;
        if (!steps.empty() && steps.back() != '\n') out << '\n';
    }

    std::vector<TraceLine> Trace() const {
        std::vector<TraceLine> lines;
        std::ifstream in(TracePath());
        for (std::string raw; std::getline(in, raw);) {
            std::istringstream words(raw);
            TraceLine line;
            if (!(words >> line.ms >> line.kind)) continue;
            std::getline(words, line.text);
            if (!line.text.empty() && line.text[0] == ' ') line.text.erase(0, 1);
            lines.push_back(line);
        }
        return lines;
    }
    // The last line of that kind (empty text when none).
    TraceLine Last(const std::string& kind) const {
        TraceLine found;
        for (const TraceLine& l : Trace())
            if (l.kind == kind) found = l;
        return found;
    }
    // The first line of that kind whose text holds `part`, at or after `since`.
    TraceLine First(const std::string& kind, const std::string& part, long long since = 0) const {
        for (const TraceLine& l : Trace())
            if (l.ms >= since && l.kind == kind && l.text.find(part) != std::string::npos) return l;
        return {};
    }
    bool Running() {
        if (pid > 0 && status < 0) {
            const int s = Reap(pid, 0);
            if (s >= 0 || s == -2) status = s < 0 ? 255 : s;
        }
        return pid > 0 && status < 0;
    }
    // Bytes sent so far through the interface of its namespace (the wire's
    // own count, read from the kernel as the program's namespace sees it).
    long long SentBytes() const {
        std::ifstream in("/proc/" + std::to_string(pid) + "/net/dev");
        for (std::string line; std::getline(in, line);) {
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos || line.substr(0, colon).find("eth0") == std::string::npos) continue;
            std::istringstream fields(line.substr(colon + 1));
            long long value = 0, sent = -1;
            for (int i = 0; i < 9 && (fields >> value); ++i)
                if (i == 8) sent = value;
            return sent;
        }
        return -1;
    }
    std::string Tail(int lines = 40) const {
        std::vector<std::string> all;
        for (const fs::path& p : {TracePath(), Log()}) {
            std::ifstream in(p);
            all.push_back("== " + p.filename().string());
            std::vector<std::string> these;
            // The messages carried out are many: the tail shows the rest.
            for (std::string l; std::getline(in, l);)
                if (l.find(" exec ") == std::string::npos && l.find(" players ") == std::string::npos)
                    these.push_back(l);
            const std::size_t from = these.size() > std::size_t(lines) ? these.size() - std::size_t(lines) : 0;
            all.insert(all.end(), these.begin() + long(from), these.end());
        }
        std::string text;
        for (const std::string& l : all) text += l + "\n";
        return label + ":\n" + text;
    }
};

// What a program is started with.
struct Player {
    std::string name;
    int red = 200, green = 200, blue = 200;
};

class Lan {
public:
    Lan(const fs::path& sourceDir, const fs::path& binary, const fs::path& runFolder, int hosts)
        : source(sourceDir), program(binary), runs(runFolder), network(hosts, sourceDir / "tests/lan/lan-net.sh") {
        fs::remove_all(runs);
        fs::create_directories(runs);
    }
    ~Lan() { StopAll(); }

    bool Up() const { return network.Up(); }
    Network& Net() { return network; }

    // Starts a program (with its own Xvfb display) in namespace host; the
    // player's name and colour go into its fresh home's save file, as a
    // player's own earlier choice would. False with why on failure.
    bool Start(Machine& m, const std::string& label, int host, const Player& player, std::string& why) {
        m = Machine();
        m.label = label;
        m.host = host;
        m.folder = runs / (label + "-" + std::to_string(++started));
        fs::create_directories(m.Home() / "Documents" / "Tavelin");
        {
            std::ofstream save(m.Home() / "Documents" / "Tavelin" / "TavelinData.sav");
            save << "Ver3\n"
                 << player.red << ' ' << player.green << ' ' << player.blue << "\n10 15 20 1 5\n"
                 << player.name << "\n0 0 0 1 1\n0.000000 0.000000\n";
        }
        // From the licence to the main menu, as a new player's first run goes.
        std::ofstream(m.Script()) << kToMainMenu;
        if (!StartDisplay(m, why)) return false;
        std::vector<std::string> env = {"PATH=/usr/sbin:/usr/bin:/sbin:/bin",
                                        "HOME=" + m.Home().string(),
                                        "XDG_CONFIG_HOME=" + (m.Home() / "config").string(),
                                        "TMPDIR=" + m.Home().string(),
                                        "DISPLAY=:" + std::to_string(m.displayNumber),
                                        "SDL_VIDEODRIVER=x11",
                                        "SDL_AUDIODRIVER=dummy",
                                        "ALSOFT_DRIVERS=null",
                                        "LIBGL_ALWAYS_SOFTWARE=1",
                                        "LP_NUM_THREADS=1"};
        // Leaks at exit are the in-process tests' to find; here the exit
        // status tells how the program ended.
        const char* asan = std::getenv("ASAN_OPTIONS");
        env.push_back(std::string("ASAN_OPTIONS=") + (asan != nullptr ? std::string(asan) + ":" : "") +
                      "detect_leaks=0");
        if (const char* ubsan = std::getenv("UBSAN_OPTIONS")) env.push_back(std::string("UBSAN_OPTIONS=") + ubsan);
#ifdef GF_TSAN_SUPPRESSIONS
        env.push_back("TSAN_OPTIONS=suppressions=" GF_TSAN_SUPPRESSIONS);
#endif
        m.pid = Spawn(network.Host(host),
                      {program.string(), "--script", m.Script().string(), "--trace", m.TracePath().string(),
                       "--net-log", (m.folder / "netlog").string(), "--window-height", std::to_string(kWindowHeight),
                       "--draw-rate", std::to_string(kDrawRate)},
                      env, m.Log(), m.Home());
        if (m.pid < 0) {
            why = "cannot start " + program.string();
            return false;
        }
        machines.push_back(&m);
        return true;
    }

    // Waits (real time, bounded) until done() holds; false if it did not.
    bool WaitFor(const std::function<bool()>& done, int seconds) {
        const long long end = NowMs() + seconds * 1000LL;
        while (NowMs() < end) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return done();
    }
    // Until the machine's trace has a line of that kind holding `part`
    // (after `since`), or the program ended; the line's time, or -1.
    long long WaitForLine(Machine& m, const std::string& kind, const std::string& part, int seconds,
                          long long since = 0) {
        long long at = -1;
        WaitFor(
            [&] {
                const TraceLine l = m.First(kind, part, since);
                if (!l.kind.empty()) at = l.ms;
                return at >= 0 || !m.Running();
            },
            seconds);
        return at;
    }

    // The machine's screen as a PNG in its folder (false when it could not be
    // taken). xwd runs in the machine's namespace: a display's local socket
    // of the abstract kind belongs to one network namespace, and another
    // namespace may have a display of the same number.
    bool Shot(const Machine& m, const std::string& name) {
        if (m.displayNumber < 0) return false;
        const fs::path xwd = m.folder / (name + ".xwd"), png = m.folder / (name + ".png");
        if (RunTool({"/usr/bin/xwd", "-root", "-silent", "-display", ":" + std::to_string(m.displayNumber), "-out",
                     xwd.string()},
                    30000, {}, network.Host(m.host)) != 0)
            return false;
        const bool ok = RunTool({"/usr/bin/convert", xwd.string(), png.string()}, 60000) == 0;
        fs::remove(xwd);
        return ok;
    }

    // Sends the signal to a running program and, for SIGKILL, reaps it.
    void Signal(Machine& m, int signal) {
        if (!m.Running()) return;
        ::kill(m.pid, signal);
        if (signal == SIGKILL) {
            const int s = Reap(m.pid, 10000);
            m.status = s < 0 ? 255 : s;
        }
    }
    // Waits (bounded) for the program to end; its status, -1 if it did not.
    int WaitForEnd(Machine& m, int seconds) {
        WaitFor([&] { return !m.Running(); }, seconds);
        return m.status;
    }
    void StopDisplay(Machine& m) {
        if (m.display > 0) {
            ::kill(m.display, SIGKILL);
            Reap(m.display, 10000);
            m.display = -1;
        }
    }
    void StopAll() {
        for (Machine* m : machines) {
            if (m->Running()) {
                ::kill(m->pid, SIGKILL);
                Reap(m->pid, 10000);
            }
            StopDisplay(*m);
        }
        machines.clear();
    }

    static constexpr const char* kToMainMenu =
        "limit 8000\nlevel Eula\nwait 10\nclick 0.45 -0.4\nlevel HalvernSplash\nwait 155\ntap Space\n"
        "level TeamSplash\nwait 65\ntap Return\nlevel TitleScreen\nwait 40\ntap Space\nlevel MainMenu\n";
    static constexpr int kWindowHeight = 144;
    static constexpr int kDrawRate = 10;

private:
    bool StartDisplay(Machine& m, std::string& why) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            why = "no pipe";
            return false;
        }
        // The display number Xvfb finds free comes back through the pipe.
        const int keep = fds[1];
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent || !EnterNamespace(network.Host(m.host)) || !PrivateDisplaySockets())
                ::_exit(126);
            const int log = ::open((m.folder / "xvfb.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (log >= 0) {
                ::dup2(log, 1);
                ::dup2(log, 2);
            }
            ::dup2(keep, 3);
            for (int fd = 4; fd < 1024; ++fd) ::close(fd);
            char* argv[] = {
                const_cast<char*>("/usr/bin/Xvfb"), const_cast<char*>("-displayfd"), const_cast<char*>("3"),
                const_cast<char*>("-screen"),       const_cast<char*>("0"),          const_cast<char*>("320x240x24"),
                const_cast<char*>("-nolisten"),     const_cast<char*>("tcp"),        nullptr};
            char path[] = "PATH=/usr/bin:/bin";
            char* envp[] = {path, nullptr};
            ::execve(argv[0], argv, envp);
            ::_exit(127);
        }
        ::close(fds[1]);
        m.display = pid;
        const std::string said = ReadLine(fds[0], 60000);
        ::close(fds[0]);
        if (said.find('\n') == std::string::npos) {
            why = "Xvfb gave no display number";
            return false;
        }
        m.displayNumber = std::atoi(said.c_str());
        return true;
    }

    fs::path source, program, runs;
    Network network;
    std::vector<Machine*> machines;
    int started = 0;
};

}  // namespace lan
