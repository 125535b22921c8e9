#include "stencil/StencilBuild.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "converter/CppConvert.h"
#include "converter/DLL.h"
#include "framework/Fatal.h"
#include "framework/Globals.h"
#include "framework/TypeReplacement.h"
#include "stencil/StencilStore.h"

namespace StencilBuild {

namespace {

using Clock = std::chrono::steady_clock;

// The errors a report names before it points to the log.
constexpr std::size_t kErrorsShown = 3;

Status status;
DLL::BuildHandle pending;
Clock::time_point started;
CppData building;  // the record being built, as its script read back

double SecondsSince(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", s);
    return text;
}

std::string WorkingPath(const std::string& name) { return std::string(Globals.workingDirectory) + "/" + name; }

// The line of the generated source at which each function's body begins
// ("{" and the body's first line), found from the definitions the builder
// writes: "void Name(Entity* self, Entity* other)" for handlers, the header
// for helpers, each followed by a line that begins with "{".
struct Placed {
    std::string function;
    int braceLine = 0;  // from 1
};

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<Placed> Bodies(const std::vector<std::string>& lines, const CppData& record) {
    std::vector<Placed> found;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line.back() == ';' || lines[i + 1].rfind('{', 0) != 0) continue;
        for (const CppFunctions& f : record.functions) {
            const bool handler = f.functionType != "HELPER";
            const bool match =
                handler ? line == "void " + f.name + "(Entity* self, Entity* other)"
                        : line.find(" " + f.name + "(") != std::string::npos || line.rfind(f.name + "(", 0) == 0;
            if (match) {
                found.push_back({f.name, static_cast<int>(i) + 2});
                break;
            }
        }
    }
    return found;
}

// Where the generated source's line lies: in which body, at which line of it.
Problem Place(const std::vector<std::string>& lines, const std::vector<Placed>& bodies, int line,
              const std::string& text) {
    Problem problem{"", line, text};
    const Placed* inside = nullptr;
    for (const Placed& body : bodies)
        if (body.braceLine <= line) inside = &body;
    if (inside == nullptr) return problem;
    // The body ends before the next definition or the generated code.
    for (int k = inside->braceLine; k < line && k <= static_cast<int>(lines.size()); ++k) {
        const std::string& l = lines[static_cast<std::size_t>(k - 1)];
        if (l.rfind("extern \"C\"", 0) == 0 || l.rfind("struct _DATA", 0) == 0 ||
            l.rfind("\t// Function bound to ", 0) == 0 || l.rfind("\t// Helper function", 0) == 0)
            return problem;
    }
    problem.function = inside->function;
    problem.line = line - inside->braceLine + 1;
    return problem;
}

int LineOf(const std::string& where) {
    try {
        return std::stoi(where);
    } catch (...) {
        return 0;
    }
}

std::string Describe(const Problem& p) {
    if (p.function.empty()) return "generated code, line " + std::to_string(p.line) + ": " + p.text;
    return p.function + ", line " + std::to_string(p.line) + ": " + p.text;
}

void Fail(const std::string& headline, const std::string& details) {
    status.phase = Phase::Failed;
    status.seconds = SecondsSince(started);
    status.report = headline + (details.empty() ? "" : "\n" + details);
    DebugOutput((status.report + "\n").c_str());
}

// The compiler's errors in the stencil's own terms, then what the builder said.
void BuildFailed() {
    const std::vector<std::string> lines = Lines(WorkingPath("TEMP.cpp"));
    const std::vector<Placed> bodies = Bodies(lines, building);
    std::string details;
    std::size_t shown = 0;
    for (const BuildMessage& m : DLL::buildErrors) {
        std::string line = m.text;
        if (m.file.size() >= 8 && m.file.compare(m.file.size() - 8, 8, "TEMP.cpp") == 0) {
            status.problems.push_back(Place(lines, bodies, LineOf(m.where), m.text));
            line = Describe(status.problems.back());
        }
        // The report line holds a few; the log has them all.
        if (shown++ < kErrorsShown) details += line + "\n";
    }
    if (shown > kErrorsShown)
        details += "... and " + std::to_string(shown - kErrorsShown) + " more errors (the log has them all)\n";
    // The builder has logged the compiler's whole report already.
    Fail("The build of " + status.typeName + " failed after " + Seconds(SecondsSince(started)) + " s; the old " +
             status.typeName + " stays in service.",
         details);
}

}  // namespace

std::string HeaderPath(const std::string& kind, const std::string& typeName) {
    return WorkingPath(kind + " " + typeName + ".h");
}

std::string SourcePath(const std::string& kind, const std::string& typeName) {
    return WorkingPath("Editor/" + kind + " " + typeName + ".cpp");
}

bool Start(const std::string& kind, const std::string& typeName) {
    if (Busy()) {
        status.report = "A build of " + status.typeName + " is under way; " + typeName + " was not built.";
        return false;
    }
    status = Status{Phase::Building, kind, typeName, "", 0.0, 0.0, {}, status.number + 1};
    started = Clock::now();
    const std::string script = StencilStore::ScriptPath(kind, typeName);
    if (script.empty() || !std::filesystem::exists(script)) {
        Fail("The script of " + typeName + " is not saved, so it cannot be built.", "");
        return false;
    }
    std::error_code ignored;
    std::filesystem::create_directories(WorkingPath("Editor"), ignored);
    const std::string source = SourcePath(kind, typeName);
    const Clock::time_point convertStart = Clock::now();
    const bool converted = cppConvert.ConvertKind(kind, script, HeaderPath(kind, typeName), source, typeName);
    status.convertSeconds = SecondsSince(convertStart);
    if (!converted) {
        std::string details;
        for (const std::string& m : cppConvert.Messages()) details += m + "\n";
        Fail("The converter refused " + typeName + "; the old " + typeName + " stays in service.", details);
        return false;
    }
    building = CppData{};
    building.kind = kind;
    building.typeName = typeName;
    cppConvert.ReadScript(script, building);
    pending = DLL::StartBuild(source);
    status.report = "Building " + typeName + "...";
    Step();
    return status.phase != Phase::Failed;
}

void Step() {
    if (pending == nullptr) return;
    const DLL::BuildStep step = DLL::PollBuild(*pending);
    if (step == DLL::BuildStep::Running) {
        status.report = "Building " + status.typeName + "... " + Seconds(SecondsSince(started)) + " s";
        return;
    }
    void* module = DLL::BuiltModule(*pending);
    pending.reset();
    if (step == DLL::BuildStep::Failed) {
        BuildFailed();
        return;
    }
    const std::string& name = status.typeName;
    if (!ReplaceTypeFromPlugin(status.kind, module, name.c_str(), name.c_str())) {
        Fail("The plug-in of " + name + " was built but could not be put into service; the old " + name +
                 " stays in service (the log says why).",
             "");
        return;
    }
    cppConvert.TypeReplaced(building);
    status.phase = Phase::Replaced;
    status.seconds = SecondsSince(started);
    std::string report = "built and replaced " + name + " in " + Seconds(status.seconds) + " s";
    if (!DLL::buildWarnings.empty())
        report += " (" + std::to_string(DLL::buildWarnings.size()) + " warnings, in the log)";
    status.report = report;
    DebugOutput((report + "\n").c_str());
    if (!DLL::buildWarnings.empty()) DebugOutput((DLL::LastReport() + "\n").c_str());
}

const Status& Current() { return status; }

bool Busy() { return pending != nullptr; }

std::string ProblemsIn(const std::string& kind, const std::string& typeName, const std::string& function) {
    if (status.kind != kind || status.typeName != typeName || function.empty()) return {};
    std::string text;
    for (const Problem& p : status.problems)
        if (p.function == function) text += "line " + std::to_string(p.line) + ": " + p.text + "\n";
    return text;
}

}  // namespace StencilBuild
