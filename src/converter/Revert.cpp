// The way back: a generated class header read again, scope by scope, into a
// stencil record, with the generated variable accesses turned back into the
// dialect's "->" form.
#include <algorithm>
#include <cstddef>

#include "converter/CppConvert.h"

namespace {

using Iter = std::list<std::string>::iterator;

bool Contains(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }
bool HasWhitespace(const std::string& text) { return text.find_first_of(" \t\n") != std::string::npos; }

std::string Trim(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\n");
    if (start == std::string::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t\n");
    return text.substr(start, end - start + 1);
}

bool IsAccessWord(const std::string& element) { return element == "GETVARIABLE" || element == "GETVARIABLEP"; }

std::string JoinFrom(Iter from, Iter to) {
    std::string text;
    for (; from != to; ++from) text += *from;
    return text;
}

// The line of a type's offset table, which the class text writes for
// itself: no global of the stencil.
bool IsOffsetTableLine(const std::string& line) { return Trim(line).rfind("int _entityOffset_", 0) == 0; }

bool IsGlobalLine(const std::string& line) {
    // The notice line and the inherit marks are comments, whatever they hold.
    const std::size_t code = line.find_first_not_of(" \t\n");
    if (code != std::string::npos && line.compare(code, 2, "//") == 0) return false;
    if (IsOffsetTableLine(line)) return false;
    return Contains(line, "=") || (!Contains(line, "(") && !Contains(line, ")"));
}

// An event or engine function's record from its header
// "void <name>(Entity* self, Entity* other)"; false for a header too short
// to hold a name.
bool BoundRecord(const std::string& header, int kind, CppFunctions& record) {
    static const std::size_t kPrefix = 5;   // "void "
    static const std::size_t kSuffix = 29;  // "(Entity* self, Entity* other)"
    if (header.size() < kPrefix) return false;
    record = CppFunctions{};
    record.name = header.size() >= kPrefix + kSuffix ? header.substr(kPrefix, header.size() - kPrefix - kSuffix)
                                                     : header.substr(kPrefix);
    record.returnType = "void";
    record.arguments = {{"Entity*", "self"}, {"Entity*", "other"}};
    record.functionType = kind == 2 ? "EVENT" : "ENGINE";
    record.startLine = 0;
    return true;
}

// The ")" that closes the parenthesis open at from (from stands after its
// "("), or end. A type may hold parentheses of its own ("void (*)(void*)").
Iter ClosingParenthesis(Iter from, Iter end) {
    int depth = 0;
    for (; from != end; ++from) {
        if (*from == "(") ++depth;
        if (*from == ")" && depth-- == 0) return from;
    }
    return end;
}

// The last element exactly "," in [from, to) at the outer level of
// parentheses, or to. The name of an access follows it: a type may hold
// commas ("std::unordered_map<unsigned int, unsigned int>*").
Iter LastComma(Iter from, Iter to) {
    Iter comma = to;
    int depth = 0;
    for (; from != to; ++from) {
        if (*from == "(") ++depth;
        if (*from == ")") --depth;
        if (*from == "," && depth == 0) comma = from;
    }
    return comma;
}

}  // namespace

void CppConvert::RevertFunction() {
    Iter it = lines.begin();
    while (it != lines.end()) {
        if (!IsAccessWord(*it)) {
            ++it;
            continue;
        }
        const Iter start = it;
        int depth = 0;
        while (it != lines.end() && IsAccessWord(*it)) {
            AdvanceIter(it, false, "");
            AdvanceIter(it, false, "");
            ++depth;
        }
        if (it == lines.end()) return;
        std::string result = *it;
        // Each access, innermost first: its name is the element after the
        // last "," before its ")" (the type between may hold commas).
        for (int i = 0; i < depth; ++i) {
            const Iter close = ClosingParenthesis(std::next(it), lines.end());
            if (close == lines.end()) return;
            Iter name = LastComma(std::next(it), close);
            if (name == close) return;
            AdvanceIter(name, false, "");
            if (name == lines.end()) return;
            result += "->" + *name;
            it = close;
        }
        lines.erase(start, it);
        *it = result;
        ++it;
    }
}

void CppConvert::RevertVar(CppData& data) {
    Iter it = lines.begin();
    AdvanceIter(it, false, "}");
    while (it != lines.end()) {
        if (Contains(*it, "//INHERITED")) return;
        if (HasWhitespace(*it)) AdvanceIter(it, false, "");
        if (it == lines.end() || Contains(*it, "//INHERITED")) return;
        const Iter start = it;
        Iter semicolon = std::find(it, lines.end(), ";");
        if (semicolon == lines.end() || semicolon == start) return;
        Iter name = std::prev(semicolon);
        std::string suffix;
        if (*name == "]") {
            Iter open = name;
            while (open != start && *open != "[") --open;
            if (*open != "[" || open == start) return;
            suffix = JoinFrom(open, semicolon);
            name = std::prev(open);
        }
        data.varNames.push_back(*name);
        // The type runs up to the whitespace before the name.
        const Iter typeEnd = name == start ? name : std::prev(name);
        data.varTypes.push_back(Trim(JoinFrom(start, typeEnd)) + suffix);
        data.varValues.emplace_back();
        it = std::next(semicolon);
    }
}

void CppConvert::RevertCopy(CppData& data) {
    Iter it = lines.begin();
    auto stepOn = [&](int times) {
        for (int i = 0; i < times && it != lines.end(); ++i) AdvanceIter(it, false, "");
        return it != lines.end();
    };
    while (it != lines.end() && *it != "INSTANCE") {
        if (*it != "ENGINE") {
            ++it;
            continue;
        }
        if (!stepOn(2)) return;
        data.enginesText += *it + " :\t\t";
        if (!stepOn(2)) return;
        data.enginesText += *it + "\n\t";
        stepOn(3);
    }
    while (it != lines.end()) {
        if (*it != "INSTANCE") {
            ++it;
            continue;
        }
        if (!stepOn(2)) return;
        data.objectsText += *it + " :\t\t";
        if (!stepOn(2)) return;
        if (*it != "\"\"" && it->size() >= 2) data.objectsText += it->substr(1, it->size() - 2);
        data.objectsText += "\n\t";
        stepOn(3);
    }
}

void CppConvert::RevertInit(CppData& data) {
    Iter it = std::find(lines.begin(), lines.end(), "_DATA");
    if (it == lines.end()) return;
    std::string prefix = "_";
    for (char c : data.kind) prefix += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    prefix += "->";
    bool addressTaken = false;
    for (; it != lines.end(); ++it) {
        if (*it == "&") addressTaken = true;
        if (*it == ";") addressTaken = false;
        if (!addressTaken && Contains(*it, prefix.c_str())) break;
    }
    while (it != lines.end()) {
        const std::string name = it->size() > prefix.size() ? it->substr(prefix.size()) : std::string();
        AdvanceIter(it, false, "=");
        if (it != lines.end() && HasWhitespace(*it)) AdvanceIter(it, false, "");
        const Iter end = std::find(it, lines.end(), ";");
        const std::string value = JoinFrom(it, end);
        const auto found = std::find(data.varNames.begin(), data.varNames.end(), name);
        if (found != data.varNames.end() && end != lines.end())
            data.varValues[static_cast<std::size_t>(found - data.varNames.begin())] = value;
        it = end;
        if (it == lines.end()) return;
        AdvanceIter(it, false, "");
    }
}

void CppConvert::RevertDiffInit(CppData& data) {
    Iter it = std::find(lines.begin(), lines.end(), "GETVARIABLE");
    while (it != lines.end()) {
        if (*it != "GETVARIABLE") {
            AdvanceIter(it, false, "");
            continue;
        }
        for (int i = 0; i < 4 && it != lines.end(); ++i) AdvanceIter(it, false, "");
        if (it == lines.end()) return;
        // The type runs to the access's last "," (it may hold commas).
        const Iter close = ClosingParenthesis(it, lines.end());
        const Iter comma = LastComma(it, close);
        if (comma == close) return;
        const std::string type = Trim(JoinFrom(it, comma));
        it = comma;
        AdvanceIter(it, false, "");
        if (it == lines.end()) return;
        const std::string name = *it;
        // A variable without a default ends at its ";" (an array's line).
        const Iter end = std::find(it, lines.end(), ";");
        if (end == lines.end()) return;
        std::string value;
        if (std::find(it, end, "=") != end) {
            AdvanceIter(it, false, "=");
            if (*it == " ") ++it;
            value = JoinFrom(it, end);
        }
        data.varTypes.push_back(type);
        data.varNames.push_back(name);
        data.varValues.push_back(value);
        it = end;
        AdvanceIter(it, false, "");
    }
}

void CppConvert::RevertScopes(CppData& data, bool extended) {
    // Each function record's entry of functionLines, by position: a helper's
    // entry begins with its header, not its name.
    std::vector<std::pair<std::size_t, std::size_t>> bodies;
    while (input.good()) {
        if (!extended) tokenizerFlags[0] = true;
        int kind = 1;
        TokenizeScope(kind, "", false);
        if (lines.empty()) continue;
        const std::string header = lines.front();
        if (!extended && Contains(header, "struct _DATA :")) RevertVar(data);
        if (Contains(header, ";")) {
            if (IsGlobalLine(header)) data.globalsText += header;
            continue;
        }
        if (kind == 2 || kind == 3 || kind == 4) {
            CppFunctions record;
            if (kind == 4) {
                std::string text = header;
                ReadHeader(text, &record);
                record.functionType = "HELPER";
            } else {
                if (!BoundRecord(header, kind, record)) continue;
                lines.front() = record.name;
            }
            bodies.emplace_back(data.functions.size(), functionLines.size());
            functionLines.push_back(lines);
            data.functions.push_back(record);
            continue;
        }
        if (extended) {
            if (header == "void _Differences(Object* self)") {
                RevertFunction();
                data.differencesText = JoinFrom(std::next(lines.begin()), lines.end());
            } else if (header == "void Differences(Object* object)") {
                RevertDiffInit(data);
                std::string line;
                while (input.good()) {
                    line = TrueGetLine(nullptr);
                    if (input.fail()) break;
                    if (Contains(line, "OBJECT(")) {
                        const std::size_t open = line.find("OBJECT(") + 7;
                        const std::size_t close = line.find(')', open);
                        data.baseType =
                            line.substr(open, close == std::string::npos ? std::string::npos : close - open);
                        break;
                    }
                }
                while (input.good()) {
                    TrueGetLine(nullptr);
                }
            }
            continue;
        }
        if (Contains(header, "void _Copy(")) {
            RevertCopy(data);
        } else if (Contains(header, "void _Init(")) {
            RevertInit(data);
            // The game has no copy step: its engines close its set-up.
            if (Contains(header, "Game*")) RevertCopy(data);
        }
    }
    tokenizerFlags[0] = false;
    for (const auto& [record, entry] : bodies) {
        lines = functionLines[entry];
        RevertFunction();
        functionLines[entry] = lines;
        data.functions[record].code = JoinFrom(std::next(lines.begin()), lines.end());
    }
}

void CppConvert::RevertClass(CppData& data) { RevertScopes(data, false); }

void CppConvert::RevertExObject(CppData& data) { RevertScopes(data, true); }

bool CppConvert::RevertFile(const std::string& path, CppData& data) {
    ConvertReset();
    if (input.is_open()) input.close();
    input.clear();
    input.open(path, std::ios::binary);
    if (!input.is_open()) {
        input.clear();
        return false;
    }
    lineNumber = 0;
    if (data.kind == "EXOBJECT" || data.kind == "ExObject")
        RevertExObject(data);
    else
        RevertClass(data);
    input.close();
    input.clear();
    return true;
}
