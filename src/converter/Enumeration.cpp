// The variable enumeration that plug-in builds compile against: every name
// of the program's own enumeration with the number the program gives it,
// then the variables of stencils, numbered on from there. Each entry is
// guarded, so that several generated files may declare the same name.
#include <algorithm>
#include <utility>
#include <vector>

#include "converter/CppConvert.h"
#include "framework/AtomicFile.h"
#include "framework/Globals.h"
#include "framework/VariableBindings.h"
#include "framework/VariableNames.h"

namespace {
constexpr const char* kEnumFileName = "ENTITY DLL Enum.h";
constexpr const char* kEnumBeginning =
    "// Variable numbers for plug-in builds; written by the script converter.\n"
    "\n"
    "#ifndef ENTITY_DLL_ENUM_H\n"
    "#define ENTITY_DLL_ENUM_H\n"
    "\n"
    "enum VARIABLEMAP\n"
    "{\n"
    "#ifndef ENUM_size3D_DEFINE\n"
    "#define ENUM_size3D_DEFINE\n"
    "\tenum_size3D = 0,\n"
    "#endif\n";
constexpr const char* kEnumClosing = "\tMAX_ENUM_VALUE\n};\n\n#endif\n";

std::string EnumFilePath() { return std::string(Globals.workingDirectory) + "/" + kEnumFileName; }
}  // namespace

void ConvertWriter::AppendEnumEntry(const std::string& name) {
    enumText += "#ifndef ENUM_" + name + "_DEFINE\n#define ENUM_" + name + "_DEFINE\n\tenum_" + name + ",\n#endif\n";
    enumNames.insert(name);
}

bool ConvertWriter::WriteEnumFile() {
    const std::string text = enumText + kEnumClosing;
    if (WriteFileReplacing(EnumFilePath(), text.data(), text.size())) return true;
    Note("CppConvert ERROR:  could not write \"" + EnumFilePath() + "\".");
    return false;
}

void ConvertWriter::WriteDLLEnum() {
    enumText = kEnumBeginning;
    enumNames.clear();
    enumNames.insert("size3D");
    enumValueByName["size3D"] = 0;
    // The program's own enumeration is the master list: its names in order,
    // each with the number the program gives it.
    for (int number = 1; number < MAX_ENUM_VALUE; ++number) {
        const std::string name = VariableName(number);
        AppendEnumEntry(name);
        enumValueByName[name] = number;
    }
    // Stencil variables numbered earlier stay in the header, in their order.
    std::vector<std::pair<std::int32_t, std::string>> added;
    for (const auto& [name, value] : enumValueByName)
        if (value >= MAX_ENUM_VALUE) added.emplace_back(value, name);
    std::sort(added.begin(), added.end());
    for (const auto& entry : added) AppendEnumEntry(entry.second);
    WriteEnumFile();
}

void ConvertWriter::AddToEnum() {
    // Stencil variables are numbered after the program's own, never among them.
    if (enumNames.count("size3D") == 0) WriteDLLEnum();
    RecordBoundVariables();
    std::int32_t next = MAX_ENUM_VALUE;
    for (const auto& entry : enumValueByName) next = std::max(next, entry.second + 1);
    // Types in name order, so that the numbers do not depend on hashing.
    std::vector<const std::pair<const std::string, std::set<std::string>>*> types;
    for (const auto& entry : varSetsByType) types.push_back(&entry);
    std::sort(types.begin(), types.end(), [](auto* a, auto* b) { return a->first < b->first; });
    bool changed = false;
    for (const auto* type : types) {
        for (const std::string& name : type->second) {
            if (enumNames.count(name) != 0) continue;
            AppendEnumEntry(name);
            changed = true;
            if (enumValueByName.count(name) == 0) enumValueByName[name] = next++;
        }
    }
    if (changed) WriteEnumFile();
}

std::int32_t ConvertWriter::GetEnumValue(const std::string& name) {
    const auto found = enumValueByName.find(name);
    return found == enumValueByName.end() ? -1 : found->second;
}

void ConvertWriter::WriteEnum() {}
