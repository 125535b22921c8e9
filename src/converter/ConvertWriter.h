#pragma once
// The converter's writing layer, on the scanner: the generated class header
// and plug-in source of a scanned stencil (class, copy and free code, the
// initialisation, each function's definition), the variable enumeration of
// plug-in builds ("ENTITY DLL Enum.h") and the function list files and helper
// includes in the working directory.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/ConvertScanner.h"
#include "converter/CppData.h"

class ConvertWriter : protected ConvertScanner {
public:
    // The type texts of the member types the generated copy step constructs
    // in place (every other member it assigns), in the builder's order.
    static std::vector<std::string> SpecialTypeTexts();
    // A function header ("int Add(int a, int b)") into a fresh record.
    void ReadHeader(std::string& header, CppFunctions* record);

protected:
    ConvertWriter() = default;
    ~ConvertWriter() = default;

    // The variable enumeration of plug-in builds ("ENTITY DLL Enum.h").
    void WriteDLLEnum();
    void AddToEnum();
    std::int32_t GetEnumValue(const std::string& name);
    static void WriteEnum();
    void AppendEnumEntry(const std::string& name);
    bool WriteEnumFile();

    // The class-code builder and its generated text.
    struct SpecialType {
        const char* type;
        const char* construction;
        const char* destruction;
    };
    static const SpecialType specialTypes[24];
    void BuildClassHeader(std::string& header, std::string& source, std::string& declarations, CppData& record);
    void BuildCopyFreeCode(std::string& header, std::string& source);
    void BuildInitCode(std::string& header, std::string& source);
    const SpecialType* SpecialTypeOf(std::size_t member);
    // "\ttype name[count] = value;\n"; type loses its "[count]".
    static std::string VariableLine(std::string& type, const std::string& name, const std::string& value);
    std::string OwnFunctions(const CppData& record, bool ordinary, const std::vector<std::string>& globalNames);
    std::vector<std::vector<std::string>> specialTokens;  // each row's type, its whitespace tokens left out
    void FeedFunction(const std::string& leading, const std::string& code, std::int32_t startLine, bool setBaseLine,
                      const std::vector<std::string>& globalNames, bool inherited);
    bool WriteGenerated(const std::string& path, const std::string& text);
    std::string Preamble(const std::string& kind);

    // Function list files and helper includes in the working directory.
    void AddFunctionHeader(const std::string& listName, const std::string& namespaceName,
                           const std::vector<std::string>& headers);
    bool MakeHelperInclude(std::string returnType, std::string name, std::string arguments,
                           std::string declaratorOpening);
    void MakeTempHelperInclude(const std::string& returnType, const std::string& name, const std::string& arguments,
                               const std::string& declaratorOpening);
    enum class MatchRule { Prefix, Whole };
    // Rewrites a declaration file with line placed in sorted order. With
    // stopWhenFound, a matching line leaves every file as it is (false);
    // otherwise the match is replaced. onPlaced runs when line is first placed.
    bool RewriteDeclarationFile(const std::string& path, const std::string& line, MatchRule rule, bool stopWhenFound,
                                const std::function<void()>& onPlaced);
    bool WriteWhole(const std::string& path, const std::string& text);

    std::unordered_map<std::string, std::int32_t> enumValueByName;
    std::string enumText;
    std::set<std::string> enumNames;
    bool enumWrittenThisRun = false;
    std::vector<std::string> engineFunctions;
    std::vector<std::string> eventFunctions;
    std::string kindText;
    bool preamblePending = false;
    // Files of the helper includes that could not be written.
    int writeFailures = 0;
};
