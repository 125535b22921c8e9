// Scanning of a stencil's texts into the converter's tables and the
// generated definitions of its functions.
#include "converter/ConvertScanner.h"
#include "framework/Engine.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/VariableBindings.h"

namespace {
bool HasWhitespace(const std::string& token) { return token.find_first_of(" \t\n") != std::string::npos; }
bool HasLineBreak(const std::string& token) { return token.find('\n') != std::string::npos; }
bool IsCommentToken(const std::string& token) { return token.rfind("//", 0) == 0 || token.rfind("/*", 0) == 0; }
bool HasIdentifierChar(const std::string& token) {
    for (char c : token)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') return true;
    return false;
}
}  // namespace

const char* const ConvertScanner::entityTypes[6] = {"Entity", "Game", "Level", "Engine", "Object", nullptr};

namespace {
bool IsEntityKind(const std::string& token) {
    for (const char* const* kind = ConvertScanner::entityTypes; *kind != nullptr; ++kind)
        if (token == *kind) return true;
    return false;
}
}  // namespace

void ConvertScanner::ScanGlobals(CppData& record, std::vector<std::string>& globalNames) {
    if (record.globalsText.empty()) return;
    int kind = 0;
    TokenizeScope(kind, record.globalsText, false);
    lines.assign(tokens.begin(), tokens.end());
    for (auto at = lines.begin(); at != lines.end(); ++at) {
        if (!IsEntityKind(*at)) continue;
        auto star = at;
        if (!AdvanceIter(star, false, "") || *star != "*") continue;
        auto name = star;
        if (!AdvanceIter(name, false, "") || !HasIdentifierChar(*name)) continue;
        auto after = name;
        if (AdvanceIter(after, false, "") && *after != "=" && *after != ";") continue;
        globalNames.push_back(*name + "->");
    }
}

void ConvertScanner::AddMember(const std::string& typeText, const std::string& name, const std::string& value,
                               std::vector<std::string>* seen) {
    std::string type = typeText;
    const std::size_t bracket = type.find('[');
    if (bracket != std::string::npos) {
        const std::size_t close = type.find(']', bracket);
        const std::string count =
            type.substr(bracket + 1, close == std::string::npos ? std::string::npos : close - bracket - 1);
        type.erase(bracket);
        memberDeclText += "\t" + type + " " + name + "[" + count + "];\n";
        memberNames.push_back(name);
        memberTypes.push_back(type + " *");
        memberValues.push_back(";\n");
        memberCounts.push_back(count);
    } else {
        memberDeclText += "\t" + type + " " + name + ";\n";
        memberNames.push_back(name);
        memberTypes.push_back(type);
        memberValues.push_back(value.empty() ? std::string(";\n") : " = " + value + ";\n");
        memberCounts.emplace_back();
    }
    RecordVariable(typeNameText, name, memberTypes.back());
    if (seen != nullptr) seen->push_back(name);
}

void ConvertScanner::ScanMemberVariables(CppData* record) {
    for (std::size_t i = 0; i < record->varNames.size(); ++i) {
        std::string& type = record->varTypes[i];
        const std::string value = i < record->varValues.size() ? record->varValues[i] : std::string{};
        AddMember(type, record->varNames[i], value, nullptr);
        const std::size_t bracket = type.find('[');
        if (bracket != std::string::npos) type.erase(bracket);
    }
    initTexts[0].clear();
    if (!current.varNames.empty()) {
        memberDeclText += "//INHERITED;\n";
        for (std::size_t i = 0; i < current.varNames.size() && i < current.varTypes.size(); ++i) {
            const std::string& name = current.varNames[i];
            bool own = false;
            for (const std::string& member : memberNames) own = own || member == name;
            if (own) continue;
            const std::string value = i < current.varValues.size() ? current.varValues[i] : std::string{};
            if (initTexts[0].empty()) initTexts[0] = name;
            AddMember(current.varTypes[i], name, value, nullptr);
        }
        memberDeclText += "//END INHERITED;\n";
    }
    memberDeclText += "};\n\n";
}

void ConvertScanner::ScanEntries(std::vector<std::string>& firsts, std::vector<std::string>& seconds,
                                 bool valueRequired) {
    auto skippable = [](const std::string& element) {
        return element.empty() || HasWhitespace(element) || IsCommentToken(element);
    };
    auto count = [&](const std::string& element) {
        for (char c : element)
            if (c == '\n') ++scopeLine;
    };
    // The name after a ':' standing at colon: the next element, unless the
    // line ends first.
    auto nameAfter = [&](std::list<std::string>::iterator& at) -> std::string {
        auto following = std::next(at);
        if (following == lines.end() || HasLineBreak(*following)) return {};
        auto name = at;
        if (!AdvanceIter(name, false, "")) return {};
        for (auto step = std::next(at); step != name; ++step) count(*step);
        at = name;
        return *name;
    };
    auto take = [&](const std::string& first, const std::string& second) {
        firsts.push_back(first);
        seconds.push_back(second);
        if (valueRequired && second.empty()) {
            convertOk = false;
            Note("CppConvert ERROR [Function: " + currentFunction + "  Offset: " + std::to_string(scopeLine) +
                 "]:  Engine [" + first + "] missing value identifier");
        }
    };
    auto at = lines.begin();
    while (at != lines.end()) {
        if (skippable(*at)) {
            count(*at);
            ++at;
            continue;
        }
        const std::string entry = *at;
        const std::size_t colon = entry.find(':');
        if (colon != std::string::npos) {
            const std::string first = entry.substr(0, colon);
            std::string second;
            if (colon + 1 < entry.size())
                second = entry.substr(colon + 1);
            else
                second = nameAfter(at);
            take(first, second);
            ++at;
            continue;
        }
        auto next = at;
        if (!AdvanceIter(next, false, "")) {
            take(entry, {});
            at = lines.end();
            continue;
        }
        for (auto step = std::next(at); step != next; ++step) count(*step);
        if (*next == ":") {
            at = next;
            take(entry, nameAfter(at));
            ++at;
        } else if (next->front() == ':') {
            take(entry, next->substr(1));
            at = std::next(next);
        } else {
            take(entry, {});
            at = next;  // examined as the next entry
        }
    }
}

void ConvertScanner::ScanObjectNames() {
    instanceNames.clear();
    instanceTypes.clear();
    ScanEntries(instanceTypes, instanceNames, false);
}

void ConvertScanner::ScanEngineValues() {
    currentFunction = "#Engines";
    scopeLine = 0;
    ScanEntries(engineNames, engineValues, true);
}

void ConvertScanner::ScanEngineEvents(const std::vector<std::string>& globalNames, bool inherited) {
    if (lines.empty()) return;
    const std::string first = lines.front();
    const std::vector<std::string> signature = SignatureOf(first);
    const BoundKind kind = BoundKindOf(first, signature);
    PrefixMap prefixes;
    for (const std::string& global : globalNames)
        prefixes[global] = "GETVARIABLE(" + global.substr(0, global.size() - 2) + ", ";
    std::string definition = OpenDefinition(kind, first, signature, inherited, prefixes);
    RewriteEntityAccesses(prefixes);
    for (auto element = std::next(lines.begin()); element != lines.end(); ++element) definition += *element;
    definition += inherited ? "}\n//END INHERITED;\n\n" : "}\n\n";
    headerTexts[kind == BoundKind::Helper ? 0 : 1] += definition;
}

std::vector<std::string> ConvertScanner::SignatureOf(const std::string& first) {
    int kind = 0;
    tokens.clear();
    if (!first.empty()) TokenizeScope(kind, first, false);  // an empty text would read the input
    std::vector<std::string> signature;
    for (const std::string& token : tokens)
        if (!HasWhitespace(token)) signature.push_back(token);
    return signature;
}

ConvertScanner::BoundKind ConvertScanner::BoundKindOf(const std::string& first,
                                                      const std::vector<std::string>& signature) {
    if (signature.size() <= 1) return Engine::_engines.count(first) != 0 ? BoundKind::Engine : BoundKind::Event;
    if (first.find("void _Differences(Object* self)") != std::string::npos) return BoundKind::Differences;
    return BoundKind::Helper;
}

std::string ConvertScanner::OpenDefinition(BoundKind kind, const std::string& first,
                                           const std::vector<std::string>& signature, bool inherited,
                                           PrefixMap& prefixes) {
    std::string definition;
    currentFunction = first;
    switch (kind) {
        case BoundKind::Helper:
            if (inherited) definition += "//INHERITED;\n";
            definition += "\t// Helper function.\n" + first + "\n{";
            // Entity pointers among the parameters.
            for (std::size_t i = 0; i + 3 < signature.size(); ++i)
                if (IsEntityKind(signature[i]) && signature[i + 1] == "*" && HasIdentifierChar(signature[i + 2]) &&
                    (signature[i + 3] == "," || signature[i + 3] == ")"))
                    prefixes[signature[i + 2] + "->"] = "";
            break;
        case BoundKind::Differences:
            definition += first + "\n{";
            prefixes["self->"] = "";
            break;
        case BoundKind::Engine:
        case BoundKind::Event:
            if (inherited) definition += "//INHERITED;\n";
            definition += std::string(kind == BoundKind::Engine ? "\t// Function bound to engine \""
                                                                : "\t// Function bound to event \"") +
                          first + "\"\nvoid " + first + "(Entity* self, Entity* other)\n{";
            prefixes["self->"] = "";
            prefixes["other->"] = "";
            break;
    }
    return definition;
}

void ConvertScanner::RewriteEntityAccesses(PrefixMap& prefixes) {
    scopeLine = 0;
    auto at = lines.begin();
    while (AdvanceIter(at, true, "")) {
        if (TakeLocalEntityPointer(at, prefixes)) continue;
        RewriteEntityToken(at, prefixes);
    }
}

bool ConvertScanner::TakeLocalEntityPointer(std::list<std::string>::iterator& at, PrefixMap& prefixes) {
    if (!IsEntityKind(*at)) return false;
    auto star = at;
    auto name = at;
    auto after = at;
    if (AdvanceIter(star, false, "") && *star == "*" && (name = star, AdvanceIter(name, false, "")) &&
        HasIdentifierChar(*name) && (after = name, AdvanceIter(after, false, "")) && (*after == "=" || *after == ";")) {
        prefixes[*name + "->"] = "";
        while (at != after) AdvanceIter(at, true, "");
        return true;
    }
    return false;
}

void ConvertScanner::RewriteEntityToken(std::list<std::string>::iterator& at, const PrefixMap& prefixes) {
    for (int round = 0; round < 8; ++round) {
        std::string& t = *at;
        if (t == "GetMyLevel" || t == "GetMyEngine" || t == "GetMyObject" || t == "MakeCopy") {
            if (prefixes.count("self->") != 0) t = "self->" + t;
            return;
        }
        const std::size_t scope = t.find("::");
        if (scope != std::string::npos) {
            const std::string type = t.substr(0, t.find(':'));
            if (varSetsByType.count(type) != 0) {
                t = "EntityData_" + type + "_" + t.substr(t.rfind(':') + 1);
                return;
            }
        }
        if (ReplaceEntityFunctionCall(at, prefixes)) return;
        if (!ReplaceEntityCode(at, prefixes)) return;
    }
}

void ConvertScanner::RecordVariable(const std::string& typeName, const std::string& name, const std::string& type) {
    if (name.empty()) return;
    if (!typeName.empty()) varSetsByType[typeName].insert(name);
    // One type text per variable name, program-wide: a name the program
    // already binds keeps its text.
    std::string& recorded = varTypeByName[name];
    if (recorded.empty()) recorded = type;
}

void ConvertScanner::RecordBoundVariables() {
    const std::uint64_t generation = VariableBindingsGeneration();
    if (generation == recordedGeneration) return;
    recordedGeneration = generation;
    auto take = [&](const std::string& typeName, const Entity* prototype) {
        if (prototype == nullptr || prototype->_map == nullptr) return;
        std::set<std::string>& names = varSetsByType[typeName];
        for (const auto& [number, typeText] : VariableBindingsOf(prototype->_map)) {
            const char* name = VariableName(number);
            if (name == nullptr) continue;
            names.insert(name);
            // A type that has no text for its variable says nothing about it.
            std::string& recorded = varTypeByName[name];
            if (!typeText.empty() || recorded.empty()) recorded = typeText;
        }
    };
    for (const auto& [name, prototype] : Object::_objects) take(name, prototype);
    for (const auto& [name, prototype] : Level::_levels) take(name, prototype);
    for (const auto& [name, prototype] : Engine::_engines) take(name, prototype);
    if (const Game* game = GetMyGame()) take(game->GetType().empty() ? "TheGame" : game->GetType(), game);
}
