#pragma once
// The converter between the stencil script dialect and generated C++. There
// is one, cppConvert; it runs on the game thread only and is not reentrant.
// Failure is reported through results and convertOk; the texts of its errors
// and warnings are kept whole in its message list.
#include <cstdint>
#include <fstream>
#include <functional>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/ConvertWriter.h"
#include "converter/CppData.h"

// A function record read back from generated code: for "HELPER" the return
// type, name and parameters come from the header's scope tokens; any other
// word gives a "void" handler of (self, other) named by the first line.
// code is the lines after the first, joined.
CppFunctions BuildFunctionRecord(const std::vector<std::string>& headerTokens, const std::list<std::string>& lines,
                                 const std::string& functionType);

// Whether text is a plain arithmetic expression of decimal numbers, the
// operators * + - / %, parentheses and whitespace.
bool IsArithmeticExpression(std::string text);

// The entries stand on the writer, the scanner and the tokenizer below them.
class CppConvert : private ConvertWriter {
public:
    CppConvert();
    ~CppConvert();
    CppConvert(const CppConvert&) = delete;
    CppConvert& operator=(const CppConvert&) = delete;

    // The framework's entity class names, ended by a null entry.
    using ConvertScanner::entityTypes;

    // Editor queries. The variable tables hold every variable the registered
    // types bind (taken in again whenever a type registers anew) and every
    // variable a scan has recorded.
    std::set<std::string> GetVarList(const std::string& typeName);
    std::string GetVarType(const std::string& variableName);
    // Read mode (newValue empty): the value at address as text. Write mode:
    // "ValueSet", or an empty text for a type it cannot write.
    std::string AccessVarValue(const void* address, const std::string& typeText, std::string newValue);
    bool VerifyValue(std::string typeText, std::string value);
    // The bytes of one value of a type AccessVarValue reads; 0 for the others.
    static std::size_t ValueSize(const std::string& typeText);
    // The number plug-in builds give a variable name (the program's own, or
    // a stencil's from 484 on, once a build has numbered it); -1 for none.
    std::int32_t VariableNumber(const std::string& name) const;
    // False when the file holds exactly text (line ends as LF); true
    // otherwise, and when the file cannot be opened.
    bool FileChanged(const std::string& path, const std::string& text);
    bool RevertFile(const std::string& path, CppData& data);

    // Conversion entries: read the script file as the type typeName and
    // write the class header and the plug-in source. False, with a message,
    // when the script cannot be read, typeName is no identifier (up to 64
    // characters) or a file cannot be written; a scan error still writes
    // both files and answers false.
    bool ConvertObject(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                       const std::string& typeName);
    bool ConvertEngine(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                       const std::string& typeName);
    bool ConvertGame(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                     const std::string& typeName);
    bool ConvertLevel(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                      const std::string& typeName);
    bool ConvertExObject(const std::string& script, const std::string& headerPath, const std::string& sourcePath,
                         const std::string& typeName);
    // The same for a kind given as text, in either spelling ("OBJECT" or
    // "Object"); any other kind text is refused.
    bool ConvertKind(const std::string& kind, const std::string& script, const std::string& headerPath,
                     const std::string& sourcePath, const std::string& typeName);
    // The class word of a kind in either spelling; empty for any other text.
    static std::string ClassWord(const std::string& kind);
    // [A-Za-z_][A-Za-z0-9_]*, at most 64 characters.
    static bool IsTypeName(const std::string& name);
    // The type texts of the member types the generated copy step constructs
    // in place (every other member it assigns), in the builder's order.
    using ConvertWriter::SpecialTypeTexts;

    // The stencil editor's pre-build check: typeName taken as the current
    // type; unequal variable lists clear convertOk, otherwise the variables
    // are recorded for the queries.
    void ScanFileForVariables(const CppData& record);
    void ScanFileForVariables(const std::string& script);
    // A type built from record now stands in the registry: its variables are
    // the record's, none of the type it replaced.
    void TypeReplaced(const CppData& record);

    // Builds the class header and the plug-in source of a record and writes
    // them; the answer is convertOk after the build (the caller sets it).
    bool BuildComplex(CppData& record, const std::string& headerPath, const std::string& sourcePath);

    // Stencil scripts. ReadScript fills every field a script holds (kind and
    // typeName are left as they were); ScriptText writes a record so that it
    // reads back the same.
    bool ReadScript(const std::string& path, CppData& record);
    static std::string ScriptText(const CppData& record);
    bool WriteScript(const std::string& path, const CppData& record);

    // A function header ("int Add(int a, int b)") into a fresh record.
    using ConvertWriter::ReadHeader;

    // Takes in what the registered types bind: each type's variables under
    // its name, each variable's type text under its name.
    using ConvertScanner::RecordBoundVariables;

    // Before each plug-in build: the plug-ins' variable enumeration written
    // afresh once per run, then brought up to date with every variable
    // recorded since.
    void PrepareBuildEnumeration();

    // The diagnostics composed since the current conversion began.
    const std::vector<std::string>& Messages() const { return messages; }

private:
    friend struct CppConvertProbe;

    void ConvertReset();

    // The way back from a generated class header to a record.
    void RevertClass(CppData& data);
    void RevertExObject(CppData& data);
    void RevertFunction();
    void RevertVar(CppData& data);
    void RevertCopy(CppData& data);
    void RevertInit(CppData& data);
    void RevertDiffInit(CppData& data);
    // The scope loop both share; extended for an extended object's header.
    void RevertScopes(CppData& data, bool extended);

    // The build of a record's two files, on the writer's pieces.
    bool BuildComplexEx(CppData& record, const std::string& headerPath, const std::string& sourcePath);
    // Reset, current kind and type name, the globals scanned: the names of
    // the global entity pointers.
    std::vector<std::string> BeginBuild(CppData& record);
    bool CheckParameterTypes(const CppData& record);
    bool Convert(const std::string& classWord, const std::string& script, const std::string& headerPath,
                 const std::string& sourcePath, const std::string& typeName);

    // The steps of ReadScript: the input opened on a script from its top,
    // then one scope (or statement) at a time into read.
    enum class ScriptStep { Next, Done, Failed };
    void OpenScriptInput(const std::string& path);
    ScriptStep ReadScriptScope(CppData& read);
    // A statement outside any section: only the base type's "OBJECT(...);".
    ScriptStep ReadScriptStatement(CppData& read);
    bool ReadScriptVariables(CppData& read);
    bool ReadScriptFunction(CppData& read, const std::string& header, int kind, std::string body);
    // Reports an error of the script at the current line; false.
    bool ScriptError(const std::string& text);

    std::vector<std::list<std::string>> functionLines;
    std::string baseNamespaceText;
};

// The one converter, built before the program's entry runs.
extern CppConvert cppConvert;
