#pragma once
// The converter between the stencil script dialect and generated C++. There
// is one, cppConvert; it runs on the game thread only and is not reentrant.
// Failure is reported through results and convertOk; the texts of its errors
// and warnings are kept whole in its message list.
#include <cstdint>
#include <fstream>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/CppData.h"

// Whether text is a plain arithmetic expression of decimal numbers, the
// operators * + - / %, parentheses and whitespace.
bool IsArithmeticExpression(std::string text);

class CppConvert {
public:
    CppConvert();
    ~CppConvert();
    CppConvert(const CppConvert&) = delete;
    CppConvert& operator=(const CppConvert&) = delete;

    // The framework's entity class names, ended by a null entry.
    static const char* const entityTypes[6];

    // Editor queries. The variable tables hold every variable the registered
    // types bind (taken in again whenever a type registers anew) and every
    // variable a scan has recorded.
    std::set<std::string> GetVarList(const std::string& typeName);
    std::string GetVarType(const std::string& variableName);
    // Read mode (newValue empty): the value at address as text. Write mode:
    // "ValueSet", or an empty text for a type it cannot write.
    std::string AccessVarValue(const void* address, const std::string& typeText, std::string newValue);
    bool VerifyValue(std::string typeText, std::string value);
    // False when the file holds exactly text (line ends as LF); true
    // otherwise, and when the file cannot be opened.
    bool FileChanged(const std::string& path, const std::string& text);
    bool RevertFile(const std::string& path, CppData& data);

    // Takes in what the registered types bind: each type's variables under
    // its name, each variable's type text under its name.
    void RecordBoundVariables();

    // Before each plug-in build: the plug-ins' variable enumeration written
    // afresh once per run, then brought up to date with every variable
    // recorded since.
    void PrepareBuildEnumeration();

    // The diagnostics composed since the current conversion began.
    const std::vector<std::string>& Messages() const { return messages; }

private:
    friend struct CppConvertProbe;

    void ConvertReset();
    std::string TrueGetLine(std::ifstream* stream);
    static int IsComment(const std::string& line);
    static bool IsEmptyLine(const std::string& line);
    static bool IsChar(char c);
    static char CharToUpper(char c);
    bool tokenEquivalent(const std::string& first, const std::string& second);
    static std::string StandardfyString(std::string text);
    std::size_t AdvanceTill(std::string& line, const std::string& marker);
    bool AdvanceIter(std::list<std::string>::iterator& position, bool countLines, const std::string& marker);

    // The tokenizer.
    int TokenizeScope(int& kind, std::string text, bool toList);
    std::size_t DefaultTokenize(std::string& line, std::size_t position, bool toList);
    static int InterpretScopeName(std::string& header);
    std::string ConvertArgList(std::string parameters);
    static std::string RevertArgList(const std::string& code);

    // The variable enumeration of plug-in builds ("ENTITY DLL Enum.h").
    void WriteDLLEnum();
    void AddToEnum();
    std::int32_t GetEnumValue(const std::string& name);
    static void WriteEnum();
    void AppendEnumEntry(const std::string& name);
    bool WriteEnumFile();

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

    // Tokenizer internals.
    enum class ScanEnd { TextEnded, ScopeEnded, InputEnded };
    ScanEnd ScanText(const std::string& text, bool toList, bool fileMode, int& depth);
    template <class Target>
    ScanEnd ScanInto(Target& target, const std::string& text, bool toList, bool fileMode, int& depth);
    bool ReadLine(std::string& line);
    enum class SkipResult { Skipped, Unclosed, InputEnded };
    // From a line holding "//INHERITED" past the line holding "//END
    // INHERITED"; line becomes the line after it.
    SkipResult SkipInheritedBlock(std::string& line);
    std::vector<std::string> TokensOf(const std::string& text);

    void Note(const std::string& text) { messages.push_back(text); }
    std::string LinePrefix(int line) const;

    std::unordered_map<std::string, std::set<std::string>> varSetsByType;
    std::unordered_map<std::string, std::string> varTypeByName;
    std::unordered_map<std::string, std::int32_t> enumValueByName;
    std::string enumText;
    std::ifstream input;
    std::list<std::string> lines;
    std::vector<std::list<std::string>> functionLines;
    std::vector<std::string> tokens;
    std::vector<std::string> memberNames;
    std::vector<std::string> memberTypes;
    std::vector<std::string> memberValues;
    std::vector<std::string> memberCounts;
    std::vector<std::string> engineFunctions;
    std::vector<std::string> eventFunctions;
    std::vector<std::string> instanceNames;
    std::vector<std::string> instanceTypes;
    std::vector<std::string> engineNames;
    std::vector<std::string> engineValues;
    std::int32_t lineNumber = 0;
    std::int32_t scopeLine = 0;
    std::int32_t baseLine = 0;
    std::set<std::string> enumNames;
    std::string kindText;
    std::string typeNameText;
    std::string memberDeclText;
    std::string headerTexts[2];
    std::string currentFunction;
    bool convertOk = true;
    // [0]: skip the blocks marked as inherited; [1], [2]: the variable scan's.
    bool tokenizerFlags[3] = {};
    CppData current;
    std::string initTexts[2];
    bool preamblePending = false;
    std::string baseNamespaceText;

    std::vector<std::string> messages;
    // Open "namespace X {" and "extern "C" {" wrappers of the file being read.
    int openWrappers = 0;
    // The binding record's generation last taken in; ~0 before the first.
    std::uint64_t recordedGeneration = ~std::uint64_t{0};
    std::unique_ptr<char[]> lineBuffer;
    bool enumWrittenThisRun = false;
};

// The one converter, built before the program's entry runs.
extern CppConvert cppConvert;
