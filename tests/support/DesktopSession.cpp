#include "support/DesktopSession.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

// Xlib last: its macros (None, Status, Bool) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace desktop {

namespace {

using Clock = std::chrono::steady_clock;

// A window that vanishes between a look-up and a read is no error of the
// test: the server's refusals are answered, never fatal.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& test, std::chrono::milliseconds limit, std::chrono::milliseconds step) {
    const auto end = Clock::now() + limit;
    while (true) {
        if (test()) return true;
        if (Clock::now() >= end) return false;
        std::this_thread::sleep_for(step);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ProgramPath() {
    if (const char* chosen = std::getenv("GF_DESKTOP_PROGRAM"); chosen != nullptr && chosen[0] != '\0') return chosen;
    return GF_PROGRAM;
}

// ---- Child ----

Child::Child(Child&& other) noexcept : pid(other.pid), status(other.status) { other.pid = -1; }

Child& Child::operator=(Child&& other) noexcept {
    if (this != &other) {
        Stop();
        pid = other.pid;
        status = other.status;
        other.pid = -1;
    }
    return *this;
}

std::optional<Child> Child::Start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                                  const std::string& outFile, const std::string& errFile, int passFd,
                                  const std::string& workingFolder) {
    if (argv.empty()) return std::nullopt;
    // Everything the child needs is made before the fork: after it, only
    // calls that are safe in a child of a threaded process.
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    std::string path;
    for (const std::string& e : env)
        if (e.rfind("PATH=", 0) == 0) path = e.substr(5);
    std::vector<std::string> candidates;
    if (argv[0].find('/') != std::string::npos) {
        candidates.push_back(argv[0]);
    } else {
        std::stringstream folders(path.empty() ? std::string("/usr/local/bin:/usr/bin:/bin") : path);
        std::string f;
        while (std::getline(folders, f, ':'))
            if (!f.empty()) candidates.push_back(f + "/" + argv[0]);
    }
    std::string program;
    for (const std::string& c : candidates)
        if (::access(c.c_str(), X_OK) == 0) {
            program = c;
            break;
        }
    if (program.empty()) return std::nullopt;
    const std::string out = outFile.empty() ? "/dev/null" : outFile;
    const std::string err = errFile.empty() ? "/dev/null" : errFile;
    const pid_t parent = ::getpid();

    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        // The child ends with the test: nothing is left behind when the test
        // program itself dies.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        ::setpgid(0, 0);
        const int in = ::open("/dev/null", O_RDONLY);
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in < 0 || o < 0 || e < 0) ::_exit(127);
        ::dup2(in, 0);
        ::dup2(o, 1);
        ::dup2(e, 2);
        if (passFd >= 0) ::dup2(passFd, 3);
        for (int fd = passFd >= 0 ? 4 : 3; fd < 1024; ++fd) ::close(fd);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) ::_exit(127);
        ::execve(program.c_str(), args.data(), envp.data());
        ::_exit(127);
    }
    Child started;
    started.pid = child;
    return started;
}

void Child::Reaped(int waitStatus) {
    if (WIFEXITED(waitStatus))
        status = WEXITSTATUS(waitStatus);
    else if (WIFSIGNALED(waitStatus))
        status = 128 + WTERMSIG(waitStatus);
    else
        status = 255;
}

bool Child::Running() {
    if (pid <= 0 || status) return false;
    int waitStatus = 0;
    const pid_t done = ::waitpid(pid, &waitStatus, WNOHANG);
    if (done == pid) {
        Reaped(waitStatus);
        return false;
    }
    return done == 0;
}

std::optional<int> Child::WaitExit(std::chrono::milliseconds limit) {
    if (pid <= 0) return std::nullopt;
    WaitUntil([&] { return !Running(); }, limit, 20ms);
    return status;
}

void Child::Signal(int signal) {
    if (pid > 0 && !status) ::kill(pid, signal);
}

void Child::Stop() {
    if (pid <= 0) return;
    if (Running()) {
        ::kill(pid, SIGKILL);
        int waitStatus = 0;
        if (::waitpid(pid, &waitStatus, 0) == pid) Reaped(waitStatus);
    }
    pid = -1;
}

// ---- ProgramRun ----

std::string ProgramRun::ErrorText() const { return ReadFile(errorFile); }

std::string ProgramRun::SaveFile() const { return home + "/Tavelin/TavelinData.sav"; }

bool ProgramRun::SanitizerReported() const {
    const std::string text = ErrorText();
    return text.find("Sanitizer") != std::string::npos || text.find("runtime error:") != std::string::npos;
}

// ---- the X connection of the test ----

struct DesktopSession::Connection {
    ::Display* display = nullptr;
    ~Connection() {
        if (display != nullptr) XCloseDisplay(display);
    }
    Window Root() const { return DefaultRootWindow(display); }
    Atom Intern(const char* name) const { return XInternAtom(display, name, False); }

    std::string Name(Window w) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string name;
        if (XGetWindowProperty(display, w, Intern("_NET_WM_NAME"), 0, 1024, False, Intern("UTF8_STRING"), &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr && count > 0)
            name.assign(reinterpret_cast<char*>(data), count);
        if (data != nullptr) XFree(data);
        if (!name.empty()) return name;
        char* plain = nullptr;
        if (XFetchName(display, w, &plain) != 0 && plain != nullptr) {
            name = plain;
            XFree(plain);
        }
        return name;
    }

    bool HasName(Window w) const { return !Name(w).empty(); }

    unsigned long Cardinal(Window w, const char* property) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        unsigned long value = 0;
        if (XGetWindowProperty(display, w, Intern(property), 0, 1, False, AnyPropertyType, &type, &format, &count,
                               &after, &data) == Success &&
            data != nullptr && count > 0 && format == 32)
            value = *reinterpret_cast<unsigned long*>(data);
        if (data != nullptr) XFree(data);
        return value;
    }

    std::vector<Window> Children(Window w) const {
        Window rootReturn = 0, parent = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        std::vector<Window> children;
        if (XQueryTree(display, w, &rootReturn, &parent, &list, &count) != 0 && list != nullptr)
            children.assign(list, list + count);
        if (list != nullptr) XFree(list);
        return children;
    }

    std::optional<TopWindow> Describe(Window w) const {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, w, &attributes) == 0) return std::nullopt;
        int x = 0, y = 0;
        Window child = 0;
        if (!XTranslateCoordinates(display, w, Root(), 0, 0, &x, &y, &child)) return std::nullopt;
        TopWindow top;
        top.id = w;
        top.name = Name(w);
        top.pid = static_cast<int>(Cardinal(w, "_NET_WM_PID"));
        top.box = Box{x, y, attributes.width, attributes.height};
        top.viewable = attributes.map_state == IsViewable;
        return top;
    }

    void SendMessage(Window target, Window about, Atom type, long a0, long a1, long mask) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = about;
        event.xclient.message_type = type;
        event.xclient.format = 32;
        event.xclient.data.l[0] = a0;
        event.xclient.data.l[1] = a1;
        XSendEvent(display, target, False, mask, &event);
        XFlush(display);
    }
};

// ---- DesktopSession ----

DesktopSession::DesktopSession(Options chosen) : options(chosen), x(std::make_unique<Connection>()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("gf-desktop-" + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        Fail("cannot make a folder for the session");
        return;
    }
    folder = pattern;
    std::filesystem::create_directories(folder + "/tmp");
    if (!StartServer()) return;
    if (options.windowManager && !StartWindowManager()) return;
    ready = true;
}

DesktopSession::~DesktopSession() {
    // The programs first, then the window manager, then the server: each by
    // the id it was started with.
    for (auto& run : runs) run->process.Stop();
    windowManager.Stop();
    x.reset();
    server.Stop();
    if (folder.empty()) return;
    if (::testing::Test::HasFailure()) {
        std::cerr << "desktop session kept for a look: " << folder << "\n";
    } else {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

void DesktopSession::Fail(const std::string& text) { ADD_FAILURE() << "desktop session: " << text; }

std::vector<std::string> DesktopSession::BaseEnvironment() const {
    const char* path = std::getenv("PATH");
    return {
        std::string("PATH=") + (path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin"),
        "DISPLAY=" + display,
        "TMPDIR=" + folder + "/tmp",
        "LANG=C.UTF-8",
    };
}

bool DesktopSession::StartServer() {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        Fail("cannot make a pipe for the server's display number");
        return false;
    }
    const std::string screen = std::to_string(options.width) + "x" + std::to_string(options.height) + "x24";
    // The server picks a free display number itself and writes it to the
    // descriptor; -noreset keeps it as it is when the last client leaves.
    auto started = Child::Start({"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
                                BaseEnvironment(), "", folder + "/xvfb.log", pipeFds[1]);
    ::close(pipeFds[1]);
    if (!started) {
        ::close(pipeFds[0]);
        Fail("Xvfb could not be started (scripts/install-deps installs the package xvfb)");
        return false;
    }
    server = std::move(*started);
    std::string number;
    const auto end = Clock::now() + kLongestWait;
    while (number.find('\n') == std::string::npos && Clock::now() < end && server.Running()) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[32];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    number = Trimmed(number);
    if (number.empty()) {
        Fail("Xvfb gave no display number: " + ReadFile(folder + "/xvfb.log"));
        return false;
    }
    display = ":" + number;
    XSetErrorHandler(&IgnoreXErrors);
    x->display = XOpenDisplay(display.c_str());
    if (x->display == nullptr) {
        Fail("cannot connect to the session's server " + display);
        return false;
    }
    return true;
}

bool DesktopSession::StartWindowManager() {
    const std::string home = folder + "/wm";
    std::filesystem::create_directories(home);
    std::vector<std::string> env = BaseEnvironment();
    env.push_back("HOME=" + home);
    env.push_back("XDG_CONFIG_HOME=" + home + "/config");
    env.push_back("XDG_CACHE_HOME=" + home + "/cache");
    env.push_back("XDG_DATA_HOME=" + home + "/data");
    auto started = Child::Start({"openbox", "--sm-disable"}, env, folder + "/openbox.log", folder + "/openbox.log");
    if (!started) {
        Fail("openbox could not be started (scripts/install-deps installs the package openbox)");
        return false;
    }
    windowManager = std::move(*started);
    if (!WaitUntil([&] { return !WindowManagerName().empty() || !windowManager.Running(); }) ||
        WindowManagerName().empty()) {
        Fail("openbox did not take the display: " + ReadFile(folder + "/openbox.log"));
        return false;
    }
    return true;
}

std::string DesktopSession::WindowManagerName() {
    if (x->display == nullptr) return {};
    const Window check = x->Cardinal(x->Root(), "_NET_SUPPORTING_WM_CHECK");
    if (check == 0) return {};
    return x->Name(check);
}

std::string DesktopSession::NewHome() {
    const std::string home = folder + "/home" + std::to_string(++homes);
    std::filesystem::create_directories(home);
    return home;
}

ProgramRun* DesktopSession::StartProgram(const std::string& home, const std::vector<std::string>& arguments,
                                         const std::vector<std::string>& environment) {
    if (!ready) return nullptr;
    auto run = std::make_unique<ProgramRun>();
    const std::string tag = std::to_string(runs.size() + 1);
    run->home = home;
    run->errorFile = folder + "/program" + tag + ".err";
    run->outputFile = folder + "/program" + tag + ".out";
    std::vector<std::string> env = BaseEnvironment();
    env.push_back("HOME=" + home);
    // Silent sound, software drawing on few threads (several sessions share
    // the machine), and the sanitizers' reports on the error stream. The
    // program keeps its type registry for its whole life, so the leak check
    // at its end would only list that; the tests of the program's parts
    // check for leaks.
    env.push_back("ALSOFT_DRIVERS=null");
    env.push_back("LIBGL_ALWAYS_SOFTWARE=1");
    env.push_back("LP_NUM_THREADS=2");
    env.push_back("ASAN_OPTIONS=detect_leaks=0");
    env.push_back("UBSAN_OPTIONS=print_stacktrace=1");
#ifdef GF_TSAN_SUPPRESSIONS
    env.push_back("TSAN_OPTIONS=suppressions=" GF_TSAN_SUPPRESSIONS);
#endif
    for (const std::string& e : environment) env.push_back(e);
    std::vector<std::string> argv = {"unshare", "-n", ProgramPath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    auto started = Child::Start(argv, env, run->outputFile, run->errorFile, -1, home);
    if (!started) {
        Fail("the program could not be started: " + ProgramPath());
        return nullptr;
    }
    run->process = std::move(*started);
    runs.push_back(std::move(run));
    return runs.back().get();
}

Picture DesktopSession::Grab() {
    if (x->display == nullptr) return Picture{};
    XImage* image = XGetImage(x->display, x->Root(), 0, 0, static_cast<unsigned>(options.width),
                              static_cast<unsigned>(options.height), AllPlanes, ZPixmap);
    if (image == nullptr) return Picture{};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(options.width) * options.height);
    const bool plain = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                       image->blue_mask == 0xFF;
    for (int row = 0; row < options.height; ++row) {
        for (int col = 0; col < options.width; ++col) {
            std::uint32_t value = 0;
            if (plain) {
                std::memcpy(&value, image->data + static_cast<std::ptrdiff_t>(row) * image->bytes_per_line + col * 4,
                            4);
                value &= 0xFFFFFFu;
            } else {
                const unsigned long p = XGetPixel(image, col, row);
                auto channel = [p](unsigned long mask) {
                    if (mask == 0) return 0u;
                    unsigned long m = mask, v = p & mask;
                    while ((m & 1u) == 0) {
                        m >>= 1;
                        v >>= 1;
                    }
                    return static_cast<unsigned>(v * 255 / m);
                };
                value = channel(image->red_mask) << 16 | channel(image->green_mask) << 8 | channel(image->blue_mask);
            }
            pixels[static_cast<std::size_t>(row) * options.width + col] = value;
        }
    }
    XDestroyImage(image);
    return Picture(options.width, options.height, std::move(pixels));
}

namespace {
// Each thread of a running program by name, state and what the kernel has it
// waiting in: a program that stopped drawing shows here whether it waits on
// a lock (futex) or the display (poll), or spins.
std::string ThreadStates(pid_t pid) {
    std::string text;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::string name = ReadFile((task.path() / "comm").string());
        while (!name.empty() && name.back() == '\n') name.pop_back();
        const std::string stat = ReadFile((task.path() / "stat").string());
        const std::size_t close = stat.rfind(')');
        const char state = close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : '?';
        text += "\n    thread " + task.path().filename().string() + " " + name + " " + state + " in " +
                ReadFile((task.path() / "wchan").string());
    }
    return text;
}
}  // namespace

std::optional<Picture> DesktopSession::WaitForScreen(const std::function<bool(const Picture&)>& test,
                                                     const std::string& name, std::chrono::milliseconds limit) {
    Picture last;
    const bool seen = WaitUntil(
        [&] {
            last = Grab();
            return !last.Empty() && test(last);
        },
        limit, 100ms);
    if (seen) return last;
    Keep(last, name);
    // What a person would look at next: the windows on the screen and what
    // each program last said, so a failure on a far machine can be read.
    std::string programs;
    for (const auto& run : runs) {
        programs += "\n  program " + std::to_string(run->process.Pid()) +
                    (run->process.Running() ? " runs" : " has ended") + ", errors in " + run->errorFile;
        std::string said = run->ErrorText();
        if (said.size() > 2000) said = "..." + said.substr(said.size() - 2000);
        if (!said.empty()) programs += ", which ends:\n" + said;
        if (run->process.Running()) programs += ThreadStates(run->process.Pid());
    }
    for (const TopWindow& w : Windows())
        programs += "\n  window \"" + w.name + "\" of " + std::to_string(w.pid) + " at " + std::to_string(w.box.left) +
                    "," + std::to_string(w.box.top) + " size " + std::to_string(w.box.width) + "x" +
                    std::to_string(w.box.height) + (w.viewable ? "" : " (not shown)");
    Fail("the screen never showed " + name + " within " +
         std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s (last screen kept as " +
         folder + "/" + name + ".png)" + programs);
    return std::nullopt;
}

void DesktopSession::Keep(const Picture& picture, const std::string& name) {
    ++keptPictures;
    picture.WritePng(folder + "/" + name + ".png");
}

std::vector<TopWindow> DesktopSession::Windows() {
    std::vector<TopWindow> windows;
    if (x->display == nullptr) return windows;
    XSync(x->display, False);
    // Bottom to top. A window manager puts each client inside a frame of its
    // own: the named window is looked for one level down as well.
    for (Window top : x->Children(x->Root())) {
        Window named = 0;
        if (x->HasName(top)) {
            named = top;
        } else {
            for (Window child : x->Children(top))
                if (x->HasName(child)) {
                    named = child;
                    break;
                }
        }
        if (named == 0) continue;
        if (auto described = x->Describe(named)) {
            // A framed client is viewable only when its frame is.
            if (named != top) {
                XWindowAttributes frame{};
                if (XGetWindowAttributes(x->display, top, &frame) != 0 && frame.map_state != IsViewable)
                    described->viewable = false;
            }
            windows.push_back(*described);
        }
    }
    return windows;
}

std::vector<TopWindow> DesktopSession::WindowsOf(pid_t pid) {
    std::vector<TopWindow> mine;
    for (const TopWindow& w : Windows())
        if (w.pid == pid && w.viewable) mine.push_back(w);
    return mine;
}

std::optional<TopWindow> DesktopSession::WaitForWindow(const std::function<bool(const TopWindow&)>& test,
                                                       const std::string& name, std::chrono::milliseconds limit) {
    std::optional<TopWindow> found;
    WaitUntil(
        [&] {
            for (const TopWindow& w : Windows())
                if (test(w)) {
                    found = w;
                    return true;
                }
            return false;
        },
        limit, 100ms);
    if (!found) {
        Keep(Grab(), name);
        Fail("no window " + name + " appeared within " +
             std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s");
    }
    return found;
}

bool DesktopSession::WindowExists(unsigned long id) {
    if (x->display == nullptr) return false;
    XSync(x->display, False);
    XWindowAttributes attributes{};
    return XGetWindowAttributes(x->display, id, &attributes) != 0;
}

unsigned long DesktopSession::OpenOtherWindow(const std::string& name, int width, int height) {
    if (x->display == nullptr) return 0;
    ::Display* d = x->display;
    const Window window = XCreateSimpleWindow(d, x->Root(), 0, 0, static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, 0x808080);
    XStoreName(d, window, name.c_str());
    // It takes the keyboard focus as an ordinary program's window does.
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(d, window, &hints);
    XMapWindow(d, window);
    XSync(d, False);
    return window;
}

unsigned long DesktopSession::FocusedWindow() {
    if (x->display == nullptr) return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x->display, &focus, &revert);
    return focus == PointerRoot || focus == x->Root() ? 0 : focus;
}

bool DesktopSession::RunTool(const std::vector<std::string>& argv) {
    auto tool = Child::Start(argv, BaseEnvironment(), "", folder + "/tools.log");
    if (!tool) {
        Fail(argv[0] + " could not be started (scripts/install-deps installs it)");
        return false;
    }
    const std::optional<int> status = tool->WaitExit(20s);
    if (!status || *status != 0) {
        std::string line;
        for (const std::string& a : argv) line += a + " ";
        Fail("\"" + line + "\" " + (status ? "failed with status " + std::to_string(*status) : "did not end"));
        return false;
    }
    return true;
}

void DesktopSession::MovePointer(int px, int py) {
    RunTool({"xdotool", "mousemove", std::to_string(px), std::to_string(py)});
}

void DesktopSession::MovePointerAlong(const std::vector<std::pair<int, int>>& points) {
    std::vector<std::string> argv = {"xdotool"};
    for (const auto& [px, py] : points) {
        argv.insert(argv.end(), {"mousemove", std::to_string(px), std::to_string(py), "sleep", "0.03"});
    }
    RunTool(argv);
}

void DesktopSession::ButtonDown(int button) { RunTool({"xdotool", "mousedown", std::to_string(button)}); }

void DesktopSession::ButtonUp(int button) { RunTool({"xdotool", "mouseup", std::to_string(button)}); }

namespace {
std::string Seconds(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms / 1000.0);
    return text;
}
}  // namespace

void DesktopSession::Press(int button, int holdMs) {
    const std::string b = std::to_string(button);
    RunTool({"xdotool", "mousedown", b, "sleep", Seconds(holdMs), "mouseup", b});
}

void DesktopSession::Click(int px, int py, int button, int holdMs) {
    const std::string b = std::to_string(button);
    // A short rest on the spot first, as a hand does: the program sees the
    // pointer arrive before the button goes down.
    RunTool({"xdotool", "mousemove", std::to_string(px), std::to_string(py), "sleep", "0.1", "mousedown", b, "sleep",
             Seconds(holdMs), "mouseup", b});
}

void DesktopSession::DoubleClick(int px, int py) {
    RunTool({"xdotool", "mousemove", std::to_string(px), std::to_string(py),
             "sleep",   "0.1",       "mousedown",        "1",
             "sleep",   "0.05",      "mouseup",          "1",
             "sleep",   "0.08",      "mousedown",        "1",
             "sleep",   "0.05",      "mouseup",          "1"});
}

void DesktopSession::Key(const std::string& keys, int holdMs) {
    RunTool({"xdotool", "keydown", keys, "sleep", Seconds(holdMs), "keyup", keys});
}

void DesktopSession::Type(const std::string& text) { RunTool({"xdotool", "type", "--delay", "120", text}); }

void DesktopSession::DragWithWindowManager(const TopWindow& window, int dx, int dy) {
    const int fromX = window.box.CentreX(), fromY = window.box.CentreY();
    std::vector<std::string> argv = {"xdotool",
                                     "mousemove",
                                     std::to_string(fromX),
                                     std::to_string(fromY),
                                     "sleep",
                                     "0.1",
                                     "keydown",
                                     "alt",
                                     "sleep",
                                     "0.1",
                                     "mousedown",
                                     "1",
                                     "sleep",
                                     "0.15"};
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        argv.insert(argv.end(), {"mousemove", std::to_string(fromX + dx * step / kSteps),
                                 std::to_string(fromY + dy * step / kSteps), "sleep", "0.05"});
    }
    argv.insert(argv.end(), {"sleep", "0.15", "mouseup", "1", "sleep", "0.1", "keyup", "alt"});
    RunTool(argv);
}

void DesktopSession::AskToClose(const TopWindow& window) {
    if (x->display == nullptr) return;
    if (!WindowManagerName().empty()) {
        // Through the window manager, as a pager or a task bar asks (source 2).
        x->SendMessage(x->Root(), window.id, x->Intern("_NET_CLOSE_WINDOW"), CurrentTime, 2,
                       SubstructureRedirectMask | SubstructureNotifyMask);
    } else {
        x->SendMessage(window.id, window.id, x->Intern("WM_PROTOCOLS"),
                       static_cast<long>(x->Intern("WM_DELETE_WINDOW")), CurrentTime, NoEventMask);
    }
}

void DesktopSession::DestroyWindow(const TopWindow& window) {
    RunTool({"xdotool", "windowclose", std::to_string(window.id)});
}

void DesktopSession::KillConnection(const TopWindow& window) {
    RunTool({"xdotool", "windowkill", std::to_string(window.id)});
}

}  // namespace desktop
