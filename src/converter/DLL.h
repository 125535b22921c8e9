#pragma once
// The plug-in builder: carries a stencil's generated source from the editor
// to running code. The system's C++ compiler builds the source into a shared
// object "Editor/tempDLL<n>.so" of the working directory, which is loaded and
// never unloaded. Everything here runs on the game thread; a build blocks it
// until the compiler ends (or is stopped at the time limit), except for a
// build started with StartBuild, which the caller polls once a frame.
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct CppData;

// One line of a build report.
struct BuildMessage {
    std::string file;   // the file the message is about
    std::string text;   // the message
    std::string where;  // its place in the file ("line:column")
};

// How the compiler is run. The defaults are the ones recorded when the
// program was configured: the compiler, the plug-in build environment's
// include folders and the flags that must match the program's own build.
struct PluginBuildSettings {
    std::string compiler;
    std::vector<std::string> includeFolders;
    std::vector<std::string> flags;
    // A compiler that has worked this long (the processor time of it and
    // its passes), or that has done no work at all for this long, is stopped.
    std::chrono::milliseconds timeLimit{120000};
};

namespace DLL {

// Loaded plug-ins by the source name they were built from; an earlier module
// of the same key stays loaded.
extern std::map<std::string, void*> StencilDllModules;
// Raised by one at every build; numbers the build targets.
extern int buildCounter;
// The compiler's diagnostics and the converter's messages of the last build
// or scan.
extern std::vector<BuildMessage> buildErrors;
extern std::vector<BuildMessage> buildWarnings;

PluginBuildSettings DefaultBuildSettings();
// The settings every build uses from now on (tests put in their own).
PluginBuildSettings& BuildSettings();

// The commit entry of the stencil editor: scans the stencil's variables and
// composes the report ("File updated.", or "File update failed." when the
// scan or the last build left errors, then the errors and warnings), which
// its caller shows. Builds nothing.
void MakeComplexDLL(CppData& stencil);
// The last report composed (a failed build's is also written to the log).
const std::string& LastReport();

void CopyTextFile(const std::string& destination, const std::string& source);
void ResaveFile(const std::string& path);
bool ReadTextFile(const std::string& path, std::string& text);
bool WriteTextFile(const std::string& path, const std::string& text);
// Removes "<prefix><name>.h" of the working directory; a name that is not an
// identifier removes nothing.
void DeleteGeneratedHeader(const std::string& prefix, const std::string& name);
// The project base name of a build (the build needs no project file).
void CopyProjectFile(const std::string& source, std::string& projectName);
// Builds source into a plug-in; the answer is the path of the shared object
// the build was to produce ("" when the build did not run). visible is kept
// for callers; the compiler's output always goes into the report.
std::string CompileDLL(const std::string& source, bool visible);
// Builds and loads; the module, or null when the build or the load failed.
// Waits for the compiler.
void* CompileAndLoadDLL(const std::string& source);

// The same build without waiting: StartBuild empties the lists and starts
// the compiler as a child process, then returns; PollBuild, called once a
// frame, reads what the compiler wrote and, once it has ended, takes its
// diagnostics and loads the plug-in (or gives up at the time limit). Only
// one build runs at a time: another one started meanwhile fails at once.
// Dropping a build that still runs stops its compiler.
enum class BuildStep { Running, Loaded, Failed };
struct PendingBuild;
struct PendingBuildDeleter {
    void operator()(PendingBuild* build) const;
};
using BuildHandle = std::unique_ptr<PendingBuild, PendingBuildDeleter>;
BuildHandle StartBuild(const std::string& source);
BuildStep PollBuild(PendingBuild& build);
// The plug-in a build loaded; null until it has (and after a failure).
void* BuiltModule(const PendingBuild& build);
void UpdateAllDLLs();

// Whether text is an identifier of 1 to 64 characters, the only type names
// that reach file names and keys.
bool IsTypeName(const std::string& text);

}  // namespace DLL
