#pragma once
// The converter's scanning layer, on the tokenizer: one stencil's texts
// (globals, member variables, engines, objects, functions) into the tables
// the class builder writes from, and the rewriting of the user's code (entity
// accesses, variable definitions) on the way. The variable tables hold every
// variable the registered types bind and every variable a scan has recorded.
#include <cstdint>
#include <functional>
#include <list>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/ConvertTokenizer.h"
#include "converter/CppData.h"

class ConvertScanner : protected ConvertTokenizer {
public:
    // The framework's entity class names, ended by a null entry.
    static const char* const entityTypes[6];

    // Takes in what the registered types bind: each type's variables under
    // its name, each variable's type text under its name.
    void RecordBoundVariables();

protected:
    ConvertScanner() = default;
    ~ConvertScanner() = default;

    // Entity accesses to rewrite: a prefix to what it becomes.
    using PrefixMap = std::unordered_map<std::string, std::string>;
    // Scanning (one stencil's texts into the tables and generated texts).
    void ScanGlobals(CppData& record, std::vector<std::string>& globalNames);
    void ScanMemberVariables(CppData* record);
    void ScanObjectNames();
    void ScanEngineValues();
    void ScanEngineEvents(const std::vector<std::string>& globalNames, bool inherited);
    void ScanExVariables();
    // The steps of ScanEngineEvents: what kind of function the first line
    // names, the generated definition's opening, the accesses rewritten.
    enum class BoundKind { Engine, Event, Differences, Helper };
    // The first line's tokens, its whitespace left out.
    std::vector<std::string> SignatureOf(const std::string& first);
    static BoundKind BoundKindOf(const std::string& first, const std::vector<std::string>& signature);
    // Also names the current function and adds the prefixes the kind's
    // entity pointers are rewritten by.
    std::string OpenDefinition(BoundKind kind, const std::string& first, const std::vector<std::string>& signature,
                               bool inherited, PrefixMap& prefixes);
    void ScanForVariables();
    void ScanEntries(std::vector<std::string>& firsts, std::vector<std::string>& seconds, bool valueRequired);
    void AddMember(const std::string& type, const std::string& name, const std::string& value,
                   std::vector<std::string>* seen);
    void RecordVariable(const std::string& typeName, const std::string& name, const std::string& type);

    // Rewriting of user code.
    std::string InterpretVariableDefinition(std::list<std::string>::iterator position, std::string& type,
                                            std::string& name, std::string& value, std::string& count);
    // Reads each definition of lines (up to each ";") and hands it on, while
    // each answers true; the answer is where the text after the last ";"
    // begins.
    using DefinitionStep = std::function<bool(const std::string& type, const std::string& name,
                                              const std::string& value, const std::string& count)>;
    std::list<std::string>::iterator ForEachDefinition(const DefinitionStep& each);
    bool ReplaceEntityFunctionCall(std::list<std::string>::iterator& position, const PrefixMap& prefixes);
    bool ReplaceEntityCode(std::list<std::string>::iterator& position, const PrefixMap& prefixes);
    void RewriteEntityAccesses(PrefixMap& prefixes);
    // A local entity pointer's definition: its accesses are rewritten as
    // well; at moves to the token after its name.
    bool TakeLocalEntityPointer(std::list<std::string>::iterator& at, PrefixMap& prefixes);
    void RewriteEntityToken(std::list<std::string>::iterator& at, const PrefixMap& prefixes);

    std::unordered_map<std::string, std::set<std::string>> varSetsByType;
    std::unordered_map<std::string, std::string> varTypeByName;
    std::vector<std::string> memberNames;
    std::vector<std::string> memberTypes;
    std::vector<std::string> memberValues;
    std::vector<std::string> memberCounts;
    std::vector<std::string> instanceNames;
    std::vector<std::string> instanceTypes;
    std::vector<std::string> engineNames;
    std::vector<std::string> engineValues;
    std::string typeNameText;
    std::string memberDeclText;
    // [0]: the helpers' definitions, [1]: the bound functions'.
    std::string headerTexts[2];
    std::string currentFunction;
    // The parent's record while a child type is converted.
    CppData current;
    std::string initTexts[2];
    // The binding record's generation last taken in; ~0 before the first.
    std::uint64_t recordedGeneration = ~std::uint64_t{0};
};
