// Stencil scripts (a record stored as text) and the conversion entries that
// turn a script into a class header and a plug-in source.
//
// A script is read by the tokenizer's file mode, one scope at a time:
//   //INHERIT From: Parent          (comment lines before the first scope)
//   //INHERIT To: Child
//   OBJECT(BaseType);               (extended objects)
//   #Variables { type name = value; ... }
//   #Globals { ... }  #Engines { ... }  #Objects { ... }  #Differences { ... }
//   // Function bound to event      (or "engine", or "// Helper function")
//   Name { body }                   (a helper: its whole header)
// A section's or function's text is everything between its braces.
#include <filesystem>

#include "converter/CppConvert.h"
#include "framework/AtomicFile.h"

namespace {
std::string Trimmed(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(start, end - start + 1);
}
bool IsIdentifier(const std::string& text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}
// The text of an "//INHERIT From: " or "//INHERIT To: " line after its marker.
std::string InheritName(const std::string& line, const std::string& marker) {
    std::string name = Trimmed(line.substr(marker.size()));
    if (!name.empty() && name.back() == ';') name.pop_back();
    return Trimmed(name);
}
// The inherit lines, which stand before the first scope; false when the
// script cannot be read.
bool ReadInheritLines(const std::string& path, CppData& read) {
    std::ifstream head(path, std::ios::binary);
    if (!head.is_open() || std::filesystem::is_directory(path)) return false;
    for (std::string line; std::getline(head, line);) {
        if (line.find('{') != std::string::npos) break;
        const std::string text = Trimmed(line);
        if (text.rfind("//INHERIT From: ", 0) == 0) read.inheritFrom = InheritName(text, "//INHERIT From: ");
        if (text.rfind("//INHERIT To: ", 0) == 0) read.inheritTo.push_back(InheritName(text, "//INHERIT To: "));
    }
    return true;
}
}  // namespace

bool CppConvert::IsTypeName(const std::string& name) { return name.size() <= 64 && IsIdentifier(name); }

std::string CppConvert::ClassWord(const std::string& kind) {
    static const char* const words[][2] = {
        {"OBJECT", "Object"}, {"EXOBJECT", "ExObject"}, {"ENGINE", "Engine"}, {"LEVEL", "Level"}, {"GAME", "Game"}};
    for (const auto& word : words)
        if (kind == word[0] || kind == word[1]) return word[1];
    return {};
}

bool CppConvert::ReadScript(const std::string& path, CppData& record) {
    CppData read;
    read.kind = record.kind;
    read.typeName = record.typeName;
    if (!ReadInheritLines(path, read)) {
        Note("CppConvert ERROR:  the script \"" + path + "\" cannot be read.");
        return false;
    }
    OpenScriptInput(path);
    const bool okBefore = convertOk;
    convertOk = true;
    ScriptStep step = ScriptStep::Next;
    while (step == ScriptStep::Next) step = ReadScriptScope(read);
    const bool ok = step == ScriptStep::Done;
    input.close();
    lines.clear();
    convertOk = okBefore && ok;
    if (ok) record = std::move(read);
    return ok;
}

void CppConvert::OpenScriptInput(const std::string& path) {
    if (input.is_open()) input.close();
    input.clear();
    input.open(path, std::ios::binary);
    lineNumber = 0;
    openWrappers = 0;
    tokenizerFlags[0] = false;
}

CppConvert::ScriptStep CppConvert::ReadScriptScope(CppData& read) {
    int kind = 1;
    scopeLine = 0;
    const int code = TokenizeScope(kind, "", false);
    if (!convertOk) return ScriptStep::Failed;
    if (code == -1) return ReadScriptStatement(read);
    const std::string header = Trimmed(lines.front());
    lines.pop_front();
    std::string body;
    for (const std::string& token : lines) body += token;
    bool ok = true;
    switch (code) {
        case 1: ok = ReadScriptVariables(read); break;
        case 2: read.differencesText = body; break;
        case 3: read.enginesText = body; break;
        case 4: read.objectsText = body; break;
        case 5: read.globalsText = body; break;
        default: ok = ReadScriptFunction(read, header, kind, std::move(body)); break;
    }
    return ok && convertOk ? ScriptStep::Next : ScriptStep::Failed;
}

CppConvert::ScriptStep CppConvert::ReadScriptStatement(CppData& read) {
    if (lines.empty()) return ScriptStep::Done;
    const std::string statement = Trimmed(lines.front());
    if (statement.rfind("OBJECT(", 0) == 0 && statement.size() > 9 &&
        statement.compare(statement.size() - 2, 2, ");") == 0) {
        read.baseType = Trimmed(statement.substr(7, statement.size() - 9));
        return ScriptStep::Next;
    }
    ScriptError("statement outside any section: " + statement);
    return ScriptStep::Failed;
}

bool CppConvert::ReadScriptVariables(CppData& read) {
    bool ok = true;
    const auto rest = ForEachDefinition(
        [&](const std::string& type, const std::string& name, const std::string& value, const std::string& count) {
            if (!convertOk) {
                ok = false;
            } else if (!name.empty() && type.empty()) {
                ok = ScriptError("variable [" + name + "] has no type.");
            } else if (!name.empty()) {
                read.varTypes.push_back(count.empty() ? type : type + "[" + count + "]");
                read.varNames.push_back(name);
                read.varValues.push_back(value);
            }
            return ok;
        });
    std::string after;
    for (auto at = rest; at != lines.end(); ++at)
        if (at->rfind("//", 0) != 0 && at->rfind("/*", 0) != 0) after += *at;
    if (ok && !Trimmed(after).empty()) ok = ScriptError("variable definition without ';': " + Trimmed(after));
    return ok;
}

bool CppConvert::ReadScriptFunction(CppData& read, const std::string& header, int kind, std::string body) {
    CppFunctions function;
    function.code = std::move(body);
    function.startLine = baseLine - 1;
    if (kind == 2)
        function.functionType = "EVENT";
    else if (kind == 3)
        function.functionType = "ENGINE";
    else if (kind == 4)
        function.functionType = "HELPER";
    else  // no kind comment: a header with a parameter list is a helper
        function.functionType = header.find('(') != std::string::npos ? "HELPER" : "EVENT";
    bool ok = true;
    if (function.functionType == "HELPER") {
        std::string text = header;
        if (text.find('(') == std::string::npos || text.find(')') == std::string::npos)
            return ScriptError("helper function [" + header + "] has no parameter list.");
        ReadHeader(text, &function);
        if (!IsIdentifier(function.name)) ok = ScriptError("helper function [" + header + "] has no name.");
    } else {
        function.name = header;
        if (!IsIdentifier(header)) ok = ScriptError("function name [" + header + "] is no identifier.");
    }
    read.functions.push_back(std::move(function));
    return ok;
}

bool CppConvert::ScriptError(const std::string& text) {
    Note("CppConvert ERROR Line[" + std::to_string(lineNumber) + "]:  " + text);
    return false;
}

std::string CppConvert::ScriptText(const CppData& record) {
    std::string text = "// Stencil script\n";
    if (!record.inheritFrom.empty()) text += "//INHERIT From: " + record.inheritFrom + "\n";
    for (const std::string& child : record.inheritTo) text += "//INHERIT To: " + child + "\n";
    if (!record.baseType.empty()) text += "OBJECT(" + record.baseType + ");\n";
    text += "\n#Variables\n{\n";
    for (std::size_t i = 0; i < record.varNames.size(); ++i) {
        std::string type = i < record.varTypes.size() ? record.varTypes[i] : std::string{};
        text += VariableLine(type, record.varNames[i], i < record.varValues.size() ? record.varValues[i] : "");
    }
    text += "}\n\n";
    auto section = [&](const char* name, const std::string& body) {
        if (!body.empty()) text += std::string(name) + "\n{" + body + "}\n\n";
    };
    section("#Globals", record.globalsText);
    section("#Engines", record.enginesText);
    section("#Objects", record.objectsText);
    section("#Differences", record.differencesText);
    for (const CppFunctions& function : record.functions) {
        std::string header = function.name;
        if (function.functionType == "HELPER") {
            text += "// Helper function\n";
            std::string parameters;
            for (const auto& [type, name] : function.arguments)
                parameters += (parameters.empty() ? "" : ", ") + (type.empty() ? name : type + " " + name);
            header =
                (function.returnType.empty() ? "" : function.returnType + " ") + function.name + "(" + parameters + ")";
        } else if (function.functionType == "ENGINE") {
            text += "// Function bound to engine\n";
        } else {
            text += "// Function bound to event\n";
        }
        text += header + "\n{" + function.code + "}\n\n";
    }
    return text;
}

bool CppConvert::WriteScript(const std::string& path, const CppData& record) {
    const std::string text = ScriptText(record);
    if (WriteFileReplacing(path, text.data(), text.size())) return true;
    Note("CppConvert ERROR:  could not write \"" + path + "\".");
    return false;
}

bool CppConvert::CheckParameterTypes(const CppData& record) {
    bool ok = true;
    auto known = [&](const std::string& word) {
        static const char* const words[] = {"char",   "short",  "int",         "float",           "double",
                                            "void",   "Entity", "Game",        "Level",           "Engine",
                                            "Object", "bool",   "unsigned",    "signed",          "long",
                                            "Vec2",   "Vec3",   "std::string", "std::vector<int>"};
        for (const char* w : words)
            if (word == w) return true;
        for (const SpecialType* row = specialTypes; row->type != nullptr; ++row)
            if (word == row->type) return true;
        for (const auto& entry : varTypeByName) {
            std::string text = entry.second;
            while (!text.empty() &&
                   (text.back() == '*' || text.back() == ' ' || text.back() == ']' || text.back() == '['))
                text.pop_back();
            if (word == text) return true;
        }
        return false;
    };
    for (const CppFunctions& function : record.functions) {
        if (function.functionType != "HELPER") continue;
        for (const auto& [type, name] : function.arguments) {
            if (type.empty() && name == "void") continue;
            // The words of the type, its qualifiers and declarators aside.
            std::string words;
            for (char c : type) words.push_back(c == '*' || c == '&' ? ' ' : c);
            std::size_t at = 0;
            bool any = false;
            while (true) {
                const std::size_t start = words.find_first_not_of(" \t\n", at);
                if (start == std::string::npos) break;
                std::size_t end = words.find_first_of(" \t\n", start);
                if (end == std::string::npos) end = words.size();
                const std::string word = words.substr(start, end - start);
                at = end;
                if (word == "const") continue;
                any = true;
                if (!known(word)) {
                    Note("CppConvert ERROR [Function: " + function.name + "]:  parameter type [" + word +
                         "] is unknown.");
                    ok = false;
                }
            }
            if (!any) {
                Note("CppConvert ERROR [Function: " + function.name + "]:  parameter [" + name + "] has no type.");
                ok = false;
            }
        }
    }
    if (!ok) convertOk = false;
    return ok;
}

bool CppConvert::Convert(const std::string& classWord, const std::string& script, const std::string& headerPath,
                         const std::string& sourcePath, const std::string& typeName) {
    messages.clear();
    ConvertReset();
    convertOk = true;
    if (!IsTypeName(typeName)) {
        Note("CppConvert ERROR:  type name [" + typeName + "] is not an identifier of up to 64 characters.");
        convertOk = false;
        return false;
    }
    CppData record;
    record.kind = classWord;
    record.typeName = typeName;
    if (!ReadScript(script, record)) {
        convertOk = false;
        return false;
    }
    current = CppData{};
    if (!record.inheritFrom.empty()) {
        const std::filesystem::path own(script);
        const std::string parentPath = (own.parent_path() / (record.inheritFrom + own.extension().string())).string();
        CppData parent;
        if (!IsTypeName(record.inheritFrom) || !ReadScript(parentPath, parent)) {
            Note("CppConvert ERROR:  the parent [" + record.inheritFrom + "] of [" + typeName +
                 "] cannot be read from \"" + parentPath + "\".");
            convertOk = false;
            return false;
        }
        current = std::move(parent);
    }
    CheckParameterTypes(record);
    return BuildComplex(record, headerPath, sourcePath);
}

bool CppConvert::ConvertKind(const std::string& kind, const std::string& script, const std::string& headerPath,
                             const std::string& sourcePath, const std::string& typeName) {
    const std::string word = ClassWord(kind);
    if (word.empty()) {
        messages.clear();
        Note("CppConvert ERROR:  kind [" + kind + "] is none of Object, ExObject, Engine, Level and Game.");
        convertOk = false;
        return false;
    }
    return Convert(word, script, headerPath, sourcePath, typeName);
}

bool CppConvert::ConvertObject(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                               const std::string& typeName) {
    return Convert("Object", script, headerPath, sourcePath, typeName);
}
bool CppConvert::ConvertEngine(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                               const std::string& typeName) {
    return Convert("Engine", script, headerPath, sourcePath, typeName);
}
bool CppConvert::ConvertGame(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                             const std::string& typeName) {
    return Convert("Game", script, headerPath, sourcePath, typeName);
}
bool CppConvert::ConvertLevel(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                              const std::string& typeName) {
    return Convert("Level", script, headerPath, sourcePath, typeName);
}
bool CppConvert::ConvertExObject(const std::string& script, const std::string& headerPath,
                                 const std::string& sourcePath, const std::string& typeName) {
    return Convert("ExObject", script, headerPath, sourcePath, typeName);
}

void CppConvert::ScanFileForVariables(const CppData& record) {
    typeNameText = record.typeName;
    if (record.varNames.size() != record.varTypes.size()) {
        convertOk = false;
        Note("CppConvert ERROR:  the record of [" + record.typeName + "] has " +
             std::to_string(record.varNames.size()) + " variable names and " + std::to_string(record.varTypes.size()) +
             " types.");
        return;
    }
    if (!IsTypeName(record.typeName)) return;
    for (std::size_t i = 0; i < record.varNames.size(); ++i) {
        std::string type = record.varTypes[i];
        const std::size_t bracket = type.find('[');
        if (bracket != std::string::npos) type = type.substr(0, bracket) + " *";
        RecordVariable(record.typeName, record.varNames[i], type);
    }
}

void CppConvert::ScanFileForVariables(const std::string&) {}

void CppConvert::TypeReplaced(const CppData& record) {
    if (!IsTypeName(record.typeName)) return;
    RecordBoundVariables();
    varSetsByType[record.typeName].clear();
    ScanFileForVariables(record);
}
