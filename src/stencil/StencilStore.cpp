#include "stencil/StencilStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <map>

#include "converter/CppConvert.h"
#include "converter/DLL.h"
#include "framework/ExObject.h"
#include "framework/Fatal.h"
#include "framework/FileListing.h"
#include "framework/Globals.h"
#include "framework/Object.h"

namespace StencilStore {

namespace {

struct Kind {
    const char* word;
    const char* folder;
};
const Kind kKinds[] = {
    {"OBJECT", "Objects"}, {"EXOBJECT", "ExObjects"}, {"LEVEL", "Levels"}, {"ENGINE", "Engines"}, {"GAME", "Games"},
};

std::map<std::string, CppData>& Records() {
    static std::map<std::string, CppData> records;
    return records;
}
bool loaded = false;
// The data folder the records were read from: another one (a new run of the
// program in the same process) starts the store afresh.
std::string loadedFrom;

std::string Key(const std::string& kind, const std::string& name) { return kind + " " + name; }

const char* FolderOf(const std::string& kind) {
    for (const Kind& k : kKinds)
        if (kind == k.word) return k.folder;
    return nullptr;
}

// A regular file of at most kLongestScript bytes, opened without waiting (a
// pipe or a device under a script's name is never read).
bool ReadableScript(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    static_cast<std::uint64_t>(st.st_size) <= static_cast<std::uint64_t>(kLongestScript);
    ::close(fd);
    return ok;
}

void LoadKind(const Kind& kind) {
    const std::string folder = KindFolder(kind.word);
    if (folder.empty()) return;
    std::vector<std::string> names;
    std::vector<std::int64_t> times;
    DLL::FindAllFiles(folder.c_str(), "script", names, times);
    std::size_t read = 0;
    for (const std::string& file : names) {
        std::string name;
        if (!DLL::HasExtension(file, "script", name) || !CppConvert::IsTypeName(name)) continue;
        const std::string path = folder + "/" + file;
        if (read == kMostScripts) {
            DebugOutput(("Only the first " + std::to_string(kMostScripts) + " stencil scripts of \"" + folder +
                         "\" are read.\n")
                            .c_str());
            break;
        }
        ++read;
        if (!ReadableScript(path)) {
            DebugOutput(("The stencil script \"" + path + "\" is not a regular file of at most " +
                         std::to_string(kLongestScript) + " bytes; it is left unread.\n")
                            .c_str());
            continue;
        }
        CppData record;
        record.kind = kind.word;
        record.typeName = name;
        const std::size_t before = cppConvert.Messages().size();
        if (!cppConvert.ReadScript(path, record)) {
            std::string why;
            const std::vector<std::string>& messages = cppConvert.Messages();
            for (std::size_t i = before; i < messages.size(); ++i) why += "\n  " + messages[i];
            DebugOutput(
                ("The stencil script \"" + path + "\" cannot be read; it is left as it is." + why + "\n").c_str());
            continue;
        }
        Records()[Key(kind.word, name)] = std::move(record);
    }
}

void LoadOnce() {
    if (loaded && loadedFrom == Globals.userDataFolder) return;
    Records().clear();
    loaded = true;
    loadedFrom = Globals.userDataFolder;
    for (const Kind& kind : kKinds) LoadKind(kind);
}

CppData& Stored(const std::string& kind, const std::string& name) {
    LoadOnce();
    auto found = Records().find(Key(kind, name));
    if (found != Records().end()) return found->second;
    CppData& made = Records()[Key(kind, name)];
    made = Record(kind, name);
    return made;
}

std::string Counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The record scanned as a commit scans it, saved, and what happened told.
Outcome Keep(CppData& record) {
    Outcome outcome;
    DLL::buildErrors.clear();
    DLL::buildWarnings.clear();
    DLL::MakeComplexDLL(record);
    const bool scanFailed = !DLL::buildErrors.empty();
    const std::string path = ScriptPath(record.kind, record.typeName);
    if (!path.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        const std::string text = CppConvert::ScriptText(record);
        outcome.saved = DLL::WriteTextFile(path, text);
    }
    std::string report = "Committed " + record.typeName + ": " +
                         Counted(record.varNames.size(), "variable", "variables") + ", " +
                         Counted(record.functions.size(), "function", "functions") + ".";
    if (outcome.saved)
        report += " Saved as " + path + ".";
    else
        report += " It is kept for this run, but it could not be saved" + (path.empty() ? "" : " as " + path) + ".";
    if (scanFailed || !DLL::buildWarnings.empty()) report += "\n" + DLL::LastReport();
    outcome.report = report;
    DebugOutput((report + "\n").c_str());
    return outcome;
}

}  // namespace

std::string KindFolder(const std::string& kind) {
    const char* folder = FolderOf(kind);
    if (folder == nullptr || Globals.userDataFolder[0] == '\0') return {};
    return std::string(Globals.userDataFolder) + "/Stencils/" + folder;
}

std::string ScriptPath(const std::string& kind, const std::string& name) {
    const std::string folder = KindFolder(kind);
    if (folder.empty() || !CppConvert::IsTypeName(name)) return {};
    return folder + "/" + name + ".script";
}

CppData Record(const std::string& kind, const std::string& name) {
    LoadOnce();
    auto found = Records().find(Key(kind, name));
    CppData record = found != Records().end() ? found->second : CppData{};
    record.kind = kind;
    record.typeName = name;
    // An extended object is built on the base it is registered with.
    if (kind == "EXOBJECT" && record.baseType.empty()) {
        auto variant = Object::_exobjects.find(name);
        if (variant != Object::_exobjects.end() && variant->second != nullptr)
            record.baseType = variant->second->BaseName();
    }
    return record;
}

bool Has(const std::string& kind, const std::string& name) {
    LoadOnce();
    return Records().count(Key(kind, name)) == 1;
}

Outcome CommitVariables(const CppData& panelRecord) {
    CppData& record = Stored(panelRecord.kind, panelRecord.typeName);
    record.varNames = panelRecord.varNames;
    record.varTypes = panelRecord.varTypes;
    record.varValues = panelRecord.varValues;
    return Keep(record);
}

Outcome CommitFunctions(const CppData& panelRecord) {
    CppData& record = Stored(panelRecord.kind, panelRecord.typeName);
    record.functions = panelRecord.functions;
    return Keep(record);
}

Outcome CommitAll(const CppData& variables, const CppData& functions) {
    CppData& record = Stored(variables.kind, variables.typeName);
    record.varNames = variables.varNames;
    record.varTypes = variables.varTypes;
    record.varValues = variables.varValues;
    record.functions = functions.functions;
    return Keep(record);
}

bool CommitBody(const std::string& kind, const std::string& typeName, std::size_t index, const std::string& name,
                const std::string& code, Outcome& outcome) {
    if (!Has(kind, typeName)) return false;
    CppData& record = Stored(kind, typeName);
    if (index >= record.functions.size() || record.functions[index].name != name) return false;
    record.functions[index].code = code;
    outcome = Keep(record);
    return true;
}

void Reload() {
    Records().clear();
    loaded = false;
}

}  // namespace StencilStore
