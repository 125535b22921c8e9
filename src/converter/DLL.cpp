// The plug-in builder. The compiler is run from an argument vector (never
// through a shell), its output read whole into the report, and stopped when
// its work runs past the time limit, or when it stands still that long. Built plug-ins are loaded with their own
// symbols first (-Bsymbolic, hidden by default) and never unloaded.
#include "converter/DLL.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "converter/CppConvert.h"
#include "converter/CppData.h"
#include "framework/AtomicFile.h"
#include "framework/Fatal.h"
#include "framework/Globals.h"
#include "framework/TypeReplacement.h"

extern char** environ;

namespace DLL {
std::map<std::string, void*> StencilDllModules;
int buildCounter = 0;
std::vector<BuildMessage> buildErrors;
std::vector<BuildMessage> buildWarnings;
}  // namespace DLL

namespace {

// A line of this length or more is not read (the line buffer's limit).
constexpr std::size_t kLongestLine = 4999;

std::string lastReport;

std::string WorkingPath(const std::string& name) { return std::string(Globals.workingDirectory) + "/" + name; }

void AddError(const std::string& file, const std::string& text, const std::string& where = "") {
    DLL::buildErrors.push_back({file, text, where});
}

// The report of a build or scan: the header ("File update failed." only
// when something failed), then every error and warning.
std::string ComposeReport() {
    std::string report = DLL::buildErrors.empty() ? "File updated." : "File update failed.";
    if (DLL::buildErrors.empty() && DLL::buildWarnings.empty()) return report;
    auto line = [](const BuildMessage& m) { return m.text + " (" + m.file + ", " + m.where + ")\n"; };
    report += "\n\nErrors:\n\n";
    for (const BuildMessage& m : DLL::buildErrors) report += line(m);
    report += "\nWarnings:\n\n";
    for (const BuildMessage& m : DLL::buildWarnings) report += line(m);
    return report;
}

// Keeps the report; a failed build's goes to the log too.
void KeepReport(bool log = true) {
    lastReport = ComposeReport();
    if (log) DebugOutput((lastReport + "\n").c_str());
}

// The compiler's diagnostics ("file:line:column: error: text") as report lines.
void TakeDiagnostics(const std::string& output) {
    static const std::regex diagnostic(R"(^(.*?):(\d+)(?::(\d+))?: (fatal error|error|warning): (.*)$)");
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(start, end - start);
        start = end + 1;
        std::smatch m;
        if (!std::regex_match(line, m, diagnostic)) continue;
        const std::string where = m[3].matched ? m[2].str() + ":" + m[3].str() : m[2].str();
        BuildMessage message{m[1].str(), m[5].str(), where};
        if (m[4].str() == "warning")
            DLL::buildWarnings.push_back(message);
        else
            DLL::buildErrors.push_back(message);
    }
}

// The converter's own messages of the last conversion or scan.
void TakeConverterMessages(const std::string& file, std::size_t from) {
    const std::vector<std::string>& messages = cppConvert.Messages();
    for (std::size_t i = from; i < messages.size(); ++i) {
        const std::string& text = messages[i];
        if (text.rfind("Warning", 0) == 0)
            DLL::buildWarnings.push_back({file, text, ""});
        else
            DLL::buildErrors.push_back({file, text, ""});
    }
}

// Where program names a runnable file: itself when it holds a '/', else the
// first match along PATH; "" when there is none.
std::string FindProgram(const std::string& program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0 ? program : "";
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

// Whether the last build produced a plug-in worth loading.
bool lastBuildOk = false;

// What a look at a process group finds: the processor time, in clock ticks,
// it has used so far (each living member's own and that of the children it
// has waited for: the compiler driver's finished passes), and whether a
// member is running or waiting for the processor or the disk. On a loaded
// machine a compiler that is ready to work may get no processor time for a
// while: it is not doing nothing.
struct GroupLook {
    std::uint64_t ticks = 0;
    bool busy = false;
};

GroupLook LookAtGroup(pid_t group) {
    GroupLook look;
    DIR* processes = ::opendir("/proc");
    if (processes == nullptr) return look;
    while (const dirent* entry = ::readdir(processes)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        std::ifstream file(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(file, line)) continue;
        // The fields after the command's name, which may hold anything but ends at the last ')'.
        const std::size_t name = line.rfind(')');
        if (name == std::string::npos) continue;
        std::istringstream fields(line.substr(name + 1));
        std::string state, skip;
        long long pgrp = 0;
        std::uint64_t utime = 0, stime = 0, cutime = 0, cstime = 0;
        fields >> state >> skip >> pgrp;
        for (int i = 0; i < 8; ++i) fields >> skip;
        if (!(fields >> utime >> stime >> cutime >> cstime) || pgrp != group) continue;
        look.ticks += utime + stime + cutime + cstime;
        if (state == "R" || state == "D") look.busy = true;
    }
    ::closedir(processes);
    return look;
}

bool CopyText(const std::string& destination, const std::string& source) {
    std::string text;
    return DLL::ReadTextFile(source, text) && DLL::WriteTextFile(destination, text);
}

// How often a running compiler's work is looked at.
constexpr std::chrono::milliseconds kLook{100};

// Builds under way: one at a time, since they share "TEMP.cpp".
int buildsUnderWay = 0;

// Reads what the pipe holds now, never waiting; open turns false at its end.
void ReadAvailable(int fd, std::string& output, bool& open) {
    char buffer[4096];
    while (open) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            output.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            open = false;
        } else if (errno != EINTR) {
            // Nothing more for now; any error but that ends the reading.
            if (errno != EAGAIN && errno != EWOULDBLOCK) open = false;
            return;
        }
    }
}

}  // namespace

// A build under way: the compiler runs as a child process in a process group
// of its own; its output comes through a pipe that is read without waiting.
struct DLL::PendingBuild {
    std::string source;
    std::string target;
    // The limit bounds the compiler's work, not the time it takes on a busy
    // machine: it is stopped once its process group has used that much
    // processor time, or once it has used none at all for that long (a
    // compiler that waits for something that never comes). Its work is
    // looked at every tenth of a second.
    std::chrono::milliseconds limit{0};
    std::uint64_t workLimit = 1;  // clock ticks
    std::uint64_t worked = 0;
    std::chrono::steady_clock::time_point lastWork, nextLook;
    pid_t pid = -1;
    int output = -1;
    bool outputOpen = false;
    bool exited = false;
    int status = 0;
    std::string text;  // standard output and error together
    bool compiling = true;
    bool compiled = false;
    bool load = false;  // the plug-in is loaded once it is built
    BuildStep step = BuildStep::Running;
    void* module = nullptr;
    bool counted = false;

    void Uncount() {
        if (counted) --buildsUnderWay;
        counted = false;
    }
    ~PendingBuild() {
        // Given up while the compiler still runs: it and its children end.
        if (pid > 0 && !exited) {
            ::kill(-pid, SIGKILL);
            int ignored = 0;
            while (::waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {}
        }
        if (output >= 0) ::close(output);
        Uncount();
    }
};

void DLL::PendingBuildDeleter::operator()(PendingBuild* build) const { delete build; }

namespace {

using DLL::BuildHandle;
using DLL::BuildStep;
using DLL::PendingBuild;

// The compile is over (or never began): its diagnostics into the lists.
void EndCompile(PendingBuild& build, bool ok) {
    if (build.output >= 0) ::close(build.output);
    build.output = -1;
    build.Uncount();
    build.compiling = false;
    build.compiled = ok;
    lastBuildOk = ok;
}

// Everything before the compiler runs, then the compiler started. A build
// that cannot start comes back with its compile already over.
BuildHandle StartCompile(const std::string& source, bool load) {
    BuildHandle build(new PendingBuild());
    build->source = source;
    build->load = load;
    lastBuildOk = false;
    auto refuse = [&](const std::string& why) {
        AddError(source, why);
        EndCompile(*build, false);
        return std::move(build);
    };
    if (buildsUnderWay > 0) return refuse("another plug-in build is under way; nothing was built");

    const std::string name = "tempDLL" + std::to_string(DLL::buildCounter);
    ++DLL::buildCounter;

    // A source that cannot be read must not leave an older "TEMP.cpp" to be
    // built in its place.
    const std::string temp = WorkingPath("TEMP.cpp");
    if (!CopyText(temp, source))
        return refuse("the source cannot be read (or has a line of " + std::to_string(kLongestLine) +
                      " characters or more); nothing was built");
    std::string project;
    DLL::CopyProjectFile(source, project);

    const PluginBuildSettings& settings = DLL::BuildSettings();
    const std::string compiler = FindProgram(settings.compiler);
    if (compiler.empty()) return refuse("no compiler found: looked for \"" + settings.compiler + "\"");

    std::error_code ignored;
    const std::string editorFolder = WorkingPath("Editor");
    const std::string includeFolder = editorFolder + "/include";
    std::filesystem::create_directories(includeFolder, ignored);
    build->target = editorFolder + "/" + name + ".so";
    std::filesystem::remove(build->target, ignored);

    // The plug-in's enumeration: every name of the program's, then the
    // stencils' variables, as the builder's enumeration header holds them.
    cppConvert.PrepareBuildEnumeration();
    std::string enumeration;
    if (!DLL::ReadTextFile(WorkingPath("ENTITY DLL Enum.h"), enumeration) ||
        !DLL::WriteTextFile(includeFolder + "/ENTITY Enum.h", enumeration))
        return refuse("the variable enumeration could not be written for the build");

    std::vector<std::string> argv{compiler};
    argv.insert(argv.end(), settings.flags.begin(), settings.flags.end());
    argv.insert(argv.end(), {"-shared", "-fPIC", "-fvisibility=hidden", "-Wl,-Bsymbolic"});
    argv.push_back("-DDLL_NAMESPACE=gf_plugin_" + std::to_string(::getpid()) + "_" + name);
    argv.push_back("-I" + includeFolder);
    argv.push_back("-I" + std::string(Globals.workingDirectory));
    for (const std::string& folder : settings.includeFolders) argv.push_back("-I" + folder);
    argv.insert(argv.end(), {"-o", build->target, "-x", "c++", temp});

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return refuse(std::string("no pipe for the compiler: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        return refuse(std::string("could not start ") + compiler + ": " + std::strerror(spawned));
    }
    ::fcntl(pipeFds[0], F_SETFL, ::fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
    build->pid = pid;
    build->output = pipeFds[0];
    build->outputOpen = true;
    build->limit = settings.timeLimit;
    const double ticksPerMs = static_cast<double>(::sysconf(_SC_CLK_TCK)) / 1000.0;
    build->workLimit = std::max<std::uint64_t>(
        1, static_cast<std::uint64_t>(static_cast<double>(settings.timeLimit.count()) * ticksPerMs));
    build->lastWork = std::chrono::steady_clock::now();
    build->nextLook = build->lastWork + kLook;
    build->counted = true;
    ++buildsUnderWay;
    return build;
}

// Why the compiler is to be stopped, or empty while it may go on.
std::string OverLimit(PendingBuild& build) {
    const auto now = std::chrono::steady_clock::now();
    if (now < build.nextLook) return {};
    build.nextLook = now + kLook;
    const GroupLook look = LookAtGroup(build.pid);
    if (look.ticks > build.worked || look.busy) build.lastWork = now;
    build.worked = std::max(build.worked, look.ticks);
    const std::string ms = std::to_string(build.limit.count()) + " ms";
    if (build.worked >= build.workLimit) return "the compiler worked longer than " + ms + " and was stopped";
    if (now - build.lastWork >= build.limit) return "the compiler did nothing for " + ms + " and was stopped";
    return {};
}

// One step of the compile: what the compiler wrote is read, its end taken
// when it has ended; past the limit it is stopped with its process group.
// Never waits.
void StepCompile(PendingBuild& build) {
    if (!build.compiling) return;
    if (build.outputOpen) ReadAvailable(build.output, build.text, build.outputOpen);
    if (!build.exited) {
        const pid_t done = ::waitpid(build.pid, &build.status, WNOHANG);
        if (done == build.pid || (done < 0 && errno == ECHILD)) build.exited = true;
    }
    // The compiler's children may hold the pipe a moment after it ended.
    if (build.exited && !build.outputOpen) {
        TakeDiagnostics(build.text);
        const bool ok = WIFEXITED(build.status) && WEXITSTATUS(build.status) == 0;
        if (!ok && DLL::buildErrors.empty()) AddError(build.source, "the compiler failed: " + build.text);
        EndCompile(build, ok);
        return;
    }
    if (const std::string why = OverLimit(build); !why.empty()) {
        ::kill(-build.pid, SIGKILL);
        while (!build.exited && ::waitpid(build.pid, &build.status, 0) < 0 && errno == EINTR) {}
        build.exited = true;
        TakeDiagnostics(build.text);
        AddError(build.source, why);
        EndCompile(build, false);
    }
}

// Until the compile is over, waiting on the compiler's output between steps.
void FinishCompile(PendingBuild& build) {
    StepCompile(build);
    while (build.compiling) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(build.nextLook - std::chrono::steady_clock::now());
        const int wait = static_cast<int>(std::clamp<long long>(left.count(), 0, 50));
        if (build.outputOpen) {
            pollfd p{build.output, POLLIN, 0};
            ::poll(&p, 1, wait);
        } else {
            ::poll(nullptr, 0, std::min(wait, 5));
        }
        StepCompile(build);
    }
}

// After a good compile: the plug-in loaded and kept under its source name.
void Load(PendingBuild& build) {
    if (build.compiled) {
        build.module = ::dlopen(build.target.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (build.module == nullptr) {
            const char* why = ::dlerror();
            AddError(build.target, std::string("the plug-in cannot be loaded: ") + (why != nullptr ? why : "unknown"));
        }
    }
    if (build.module != nullptr) {
        DLL::StencilDllModules[build.source] = build.module;
        build.step = BuildStep::Loaded;
    } else {
        build.step = BuildStep::Failed;
        KeepReport();
    }
}

}  // namespace

void CppConvert::PrepareBuildEnumeration() {
    // Once per run, and again should the header have gone (another folder).
    if (!enumWrittenThisRun || !std::filesystem::exists(WorkingPath("ENTITY DLL Enum.h"))) {
        WriteDLLEnum();
        enumWrittenThisRun = true;
    }
    AddToEnum();
}

PluginBuildSettings& DLL::BuildSettings() {
    static PluginBuildSettings settings = DefaultBuildSettings();
    return settings;
}

const std::string& DLL::LastReport() { return lastReport; }

bool DLL::IsTypeName(const std::string& text) { return IsReplaceableTypeName(text); }

void DLL::MakeComplexDLL(CppData& stencil) {
    // The scan's own messages join whatever the last build left.
    const std::size_t before = cppConvert.Messages().size();
    if (stencil.kind != "EXOBJECT") cppConvert.ScanFileForVariables(stencil);
    TakeConverterMessages(stencil.typeName, before);
    // The commit's caller shows and logs what it did with the record.
    KeepReport(false);
}

bool DLL::ReadTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() >= kLongestLine) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line;
        text += '\n';
    }
    return in.eof();
}

bool DLL::WriteTextFile(const std::string& path, const std::string& text) {
    return WriteFileReplacing(path, text.data(), text.size());
}

void DLL::CopyTextFile(const std::string& destination, const std::string& source) { CopyText(destination, source); }

void DLL::ResaveFile(const std::string& path) { CopyTextFile(path, path); }

void DLL::DeleteGeneratedHeader(const std::string& prefix, const std::string& name) {
    if (!IsTypeName(name)) return;
    std::error_code ignored;
    std::filesystem::remove(WorkingPath(prefix + name + ".h"), ignored);
}

void DLL::CopyProjectFile(const std::string& source, std::string& projectName) { projectName = source; }

std::string DLL::CompileDLL(const std::string& source, bool /*visible*/) {
    BuildHandle build = StartCompile(source, false);
    FinishCompile(*build);
    return build->target;
}

void* DLL::CompileAndLoadDLL(const std::string& source) {
    buildErrors.clear();
    buildWarnings.clear();
    BuildHandle build = StartCompile(source, true);
    FinishCompile(*build);
    Load(*build);
    return build->module;
}

DLL::BuildHandle DLL::StartBuild(const std::string& source) {
    buildErrors.clear();
    buildWarnings.clear();
    BuildHandle build = StartCompile(source, true);
    if (!build->compiling) Load(*build);
    return build;
}

DLL::BuildStep DLL::PollBuild(PendingBuild& build) {
    if (build.step != BuildStep::Running) return build.step;
    StepCompile(build);
    if (!build.compiling) Load(build);
    return build.step;
}

void* DLL::BuiltModule(const PendingBuild& build) { return build.module; }

void DLL::UpdateAllDLLs() {}

namespace {
// The type-replacement entries of the framework build through us.
void* FindExport(void* module, const char* name) { return ::dlsym(module, name); }
void DeleteHeader(const std::string& prefix, const std::string& name) { DLL::DeleteGeneratedHeader(prefix, name); }

struct InstallHooks {
    InstallHooks() {
        typeReplacementHooks.compileAndLoad = &DLL::CompileAndLoadDLL;
        typeReplacementHooks.findExport = &FindExport;
        typeReplacementHooks.deleteGeneratedHeader = &DeleteHeader;
    }
} installHooks;
}  // namespace
