#pragma once
// A stencil held as editable text: the whole record and one of its
// functions. Plain values: copies are deep and independent.
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

struct CppFunctions {
    std::string returnType;
    std::string name;
    std::vector<std::pair<std::string, std::string>> arguments;  // (type text, name text)
    std::string functionType;                                    // "HELPER", "ENGINE" or "EVENT"
    std::string code;
    std::int32_t startLine = 0;
};

struct CppData {
    std::vector<CppFunctions> functions;
    std::vector<std::string> varNames;
    std::vector<std::string> varTypes;
    std::vector<std::string> varValues;
    std::string globalsText;
    std::string enginesText;
    std::string objectsText;
    std::string differencesText;
    std::string kind;
    std::string typeName;
    std::string baseType;
    std::string inheritFrom;
    std::vector<std::string> inheritTo;
};

// The type texts of the records when an editor panel or dialog holds one as
// a script variable.
inline std::string VariableTypeText(std::type_identity<CppFunctions>) { return "CppFunctions"; }
inline std::string VariableTypeText(std::type_identity<CppData>) { return "CppData"; }
