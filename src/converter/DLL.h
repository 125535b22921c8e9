#pragma once
// The plug-in builder: carries a stencil's generated source from the editor
// to running code. The system's C++ compiler builds the source into a shared
// object "Editor/tempDLL<n>.so" of the working directory, which is loaded and
// never unloaded. Everything here runs on the game thread; a build blocks it
// until the compiler ends (or is stopped at the time limit).
#include <chrono>
#include <map>
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
// composes the build report. Builds nothing.
void MakeComplexDLL(CppData& stencil);
// The last report composed (also written to the log).
const std::string& LastReport();

void CopyTextFile(const std::string& destination, const std::string& source);
void ResaveFile(const std::string& path);
bool ReadTextFile(const std::string& path, std::string& text);
bool WriteTextFile(const std::string& path, const std::string& text);
// Removes "<prefix><name>.h" of the working directory; a name that is not an
// identifier removes nothing.
void DeleteGeneratedHeader(const std::string& prefix, std::string name);
// The project base name of a build (the build needs no project file).
void CopyProjectFile(const std::string& source, std::string& projectName);
// Builds source into a plug-in; the answer is the path of the shared object
// the build was to produce ("" when the build did not run). visible is kept
// for callers; the compiler's output always goes into the report.
std::string CompileDLL(const std::string& source, bool visible);
// Builds and loads; the module, or null when the build or the load failed.
void* CompileAndLoadDLL(const std::string& source);
void UpdateAllDLLs();

// Whether text is an identifier of 1 to 64 characters, the only type names
// that reach file names and keys.
bool IsTypeName(const std::string& text);

}  // namespace DLL
