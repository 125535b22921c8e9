// The plug-in builder. The compiler is run from an argument vector (never
// through a shell), its output read whole into the report, and stopped when
// it runs past the time limit. Built plug-ins are loaded with their own
// symbols first (-Bsymbolic, hidden by default) and never unloaded.
#include "converter/DLL.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

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

// The report of a build or scan: the header, then every error and warning.
std::string ComposeReport() {
    std::string report = "File update failed.";
    if (DLL::buildErrors.empty() && DLL::buildWarnings.empty()) return report;
    auto line = [](const BuildMessage& m) { return m.text + " (" + m.file + ", " + m.where + ")\n"; };
    report += "\n\nErrors:\n\n";
    for (const BuildMessage& m : DLL::buildErrors) report += line(m);
    report += "\nWarnings:\n\n";
    for (const BuildMessage& m : DLL::buildWarnings) report += line(m);
    return report;
}

void KeepReport() {
    lastReport = ComposeReport();
    DebugOutput((lastReport + "\n").c_str());
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
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

struct RunResult {
    bool started = false;
    bool stopped = false;  // ran past the time limit
    int status = -1;       // exit status when it ended by itself
    std::string output;    // standard output and error together
};

// Runs argv[0] with argv, no shell, its output collected, stopped (with its
// whole process group) when it runs longer than limit.
RunResult Run(const std::vector<std::string>& argv, std::chrono::milliseconds limit) {
    RunResult result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
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
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        result.output = std::string("could not start ") + argv[0] + ": " + std::strerror(spawned);
        return result;
    }
    result.started = true;

    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto remainingMs = [&] {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<long long>(0, left.count()));
    };
    bool open = true;
    char buffer[4096];
    while (open) {
        pollfd p{pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs());
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;  // the time limit
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0)
            result.output.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            open = false;
    }
    ::close(pipeFds[0]);
    // Output closed: the compiler is ending; wait for it, still within the limit.
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) break;
        if (remainingMs() == 0) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.stopped = true;
            return result;
        }
        ::poll(nullptr, 0, 5);
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Whether the last build produced a plug-in worth loading.
bool lastBuildOk = false;

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
    KeepReport();
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

namespace {
bool CopyText(const std::string& destination, const std::string& source) {
    std::string text;
    return DLL::ReadTextFile(source, text) && DLL::WriteTextFile(destination, text);
}
}  // namespace

void DLL::CopyTextFile(const std::string& destination, const std::string& source) { CopyText(destination, source); }

void DLL::ResaveFile(const std::string& path) { CopyTextFile(path, path); }

void DLL::DeleteGeneratedHeader(const std::string& prefix, std::string name) {
    if (!IsTypeName(name)) return;
    std::error_code ignored;
    std::filesystem::remove(WorkingPath(prefix + name + ".h"), ignored);
}

void DLL::CopyProjectFile(const std::string& source, std::string& projectName) { projectName = source; }

std::string DLL::CompileDLL(const std::string& source, bool /*visible*/) {
    lastBuildOk = false;
    const std::string name = "tempDLL" + std::to_string(buildCounter);
    ++buildCounter;

    // A source that cannot be read must not leave an older "TEMP.cpp" to be
    // built in its place.
    const std::string temp = WorkingPath("TEMP.cpp");
    if (!CopyText(temp, source)) {
        AddError(source, "the source cannot be read (or has a line of " + std::to_string(kLongestLine) +
                             " characters or more); nothing was built");
        return {};
    }
    std::string project;
    CopyProjectFile(source, project);

    const PluginBuildSettings& settings = BuildSettings();
    const std::string compiler = FindProgram(settings.compiler);
    if (compiler.empty()) {
        AddError(source, "no compiler found: looked for \"" + settings.compiler + "\"");
        return {};
    }

    std::error_code ignored;
    const std::string editorFolder = WorkingPath("Editor");
    const std::string includeFolder = editorFolder + "/include";
    std::filesystem::create_directories(includeFolder, ignored);
    const std::string target = editorFolder + "/" + name + ".so";
    std::filesystem::remove(target, ignored);

    // The plug-in's enumeration: every name of the program's, then the
    // stencils' variables, as the builder's enumeration header holds them.
    cppConvert.PrepareBuildEnumeration();
    std::string enumeration;
    if (!ReadTextFile(WorkingPath("ENTITY DLL Enum.h"), enumeration) ||
        !WriteTextFile(includeFolder + "/ENTITY Enum.h", enumeration)) {
        AddError(source, "the variable enumeration could not be written for the build");
        return {};
    }

    std::vector<std::string> argv{compiler};
    argv.insert(argv.end(), settings.flags.begin(), settings.flags.end());
    argv.insert(argv.end(), {"-shared", "-fPIC", "-fvisibility=hidden", "-Wl,-Bsymbolic"});
    argv.push_back("-DDLL_NAMESPACE=gf_plugin_" + std::to_string(::getpid()) + "_" + name);
    argv.push_back("-I" + includeFolder);
    argv.push_back("-I" + std::string(Globals.workingDirectory));
    for (const std::string& folder : settings.includeFolders) argv.push_back("-I" + folder);
    argv.insert(argv.end(), {"-o", target, "-x", "c++", temp});

    const RunResult run = Run(argv, settings.timeLimit);
    TakeDiagnostics(run.output);
    if (!run.started) {
        AddError(source, run.output);
    } else if (run.stopped) {
        AddError(source,
                 "the compiler ran longer than " + std::to_string(settings.timeLimit.count()) + " ms and was stopped");
    } else if (run.status != 0) {
        if (buildErrors.empty()) AddError(source, "the compiler failed: " + run.output);
    } else {
        lastBuildOk = true;
    }
    return target;
}

void* DLL::CompileAndLoadDLL(const std::string& source) {
    buildErrors.clear();
    buildWarnings.clear();
    const std::string path = CompileDLL(source, false);
    void* module = nullptr;
    if (lastBuildOk) {
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* why = ::dlerror();
            AddError(path, std::string("the plug-in cannot be loaded: ") + (why != nullptr ? why : "unknown"));
        }
    }
    if (module != nullptr)
        StencilDllModules[source] = module;
    else
        KeepReport();
    return module;
}

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
