#pragma once
// Building a committed stencil and putting it into service while the game
// runs: its saved script is converted, the system compiler builds the
// generated source as a child process that the game thread polls once a
// frame (no thread waits for it), and once the plug-in is loaded the type
// replaces the registered one. Old copies keep their type; new copies are
// made from the new one. A failed build leaves the old type working.
//
// One build runs at a time. The stencil editor's windows each call Step once
// a frame and show Current(): the progress, then the report.
#include <string>
#include <vector>

namespace StencilBuild {

enum class Phase { Idle, Building, Replaced, Failed };

// A compiler error placed in one of the stencil's function bodies.
struct Problem {
    std::string function;  // empty: in the generated code around the bodies
    int line = 0;          // line of the body, from 1 (of the generated source without a function)
    std::string text;
};

struct Status {
    Phase phase = Phase::Idle;
    std::string kind;
    std::string typeName;
    // What the windows show: the progress while it builds, then the report
    // (errors, warnings, "built and replaced <type> in <s> s").
    std::string report;
    double convertSeconds = 0.0;  // the converter's own part
    double seconds = 0.0;         // from the start to the type replaced, or to the failure
    std::vector<Problem> problems;
    int number = 0;  // raised by every build started
};

// Starts building the committed record of kind's type name (see
// StencilStore); false, with the reason in the report, when it cannot start
// (another build runs, the converter refused the script).
bool Start(const std::string& kind, const std::string& typeName);
// Takes the build a step on, never waiting: once a frame.
void Step();
const Status& Current();
bool Busy();

// The report's lines for one function's body ("line 2: …"), empty when the
// last build of the stencil found nothing there.
std::string ProblemsIn(const std::string& kind, const std::string& typeName, const std::string& function);

// Where the build's files go: the class header "<KIND> <type>.h" in the
// working directory (the replacement entries remove it there), the source
// in its "Editor" folder.
std::string HeaderPath(const std::string& kind, const std::string& typeName);
std::string SourcePath(const std::string& kind, const std::string& typeName);

}  // namespace StencilBuild
