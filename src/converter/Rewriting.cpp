// Rewriting of user code while a function body is scanned: variable
// definitions read apart, calls through entity pointers turned into events,
// script variables reached through entity pointers turned into accesses of
// the offset tables.
#include "converter/ConvertScanner.h"

namespace {
bool HasWhitespace(const std::string& token) { return token.find_first_of(" \t\n") != std::string::npos; }
bool IsCommentToken(const std::string& token) { return token.rfind("//", 0) == 0 || token.rfind("/*", 0) == 0; }
std::string Trimmed(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\n");
    if (start == std::string::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t\n");
    return text.substr(start, end - start + 1);
}
// Runs of whitespace become one blank.
std::string Collapsed(const std::string& text) {
    std::string result;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') {
            blank = true;
            continue;
        }
        if (blank && !result.empty()) result.push_back(' ');
        blank = false;
        result.push_back(c);
    }
    return result;
}
}  // namespace

std::string ConvertScanner::InterpretVariableDefinition(std::list<std::string>::iterator position, std::string& type,
                                                        std::string& name, std::string& value, std::string& count) {
    type.clear();
    name.clear();
    value.clear();
    count.clear();
    std::vector<std::string> left;  // the declaration's tokens, whitespace kept
    std::string right;
    bool assigned = false;
    bool inCount = false;
    for (auto at = position; at != lines.end() && *at != ";"; ++at) {
        const std::string& token = *at;
        for (char c : token)
            if (c == '\n') ++scopeLine;
        if (IsCommentToken(token)) continue;
        if (assigned) {
            right += token;
            continue;
        }
        if (token == "=") {
            bool anything = false;
            for (const std::string& t : left) anything = anything || !HasWhitespace(t);
            if (!anything) {
                // A definition must name what it defines; the statement is
                // broken, and so is the conversion.
                convertOk = false;
                Note("CppConvert ERROR [Line: " + std::to_string(baseLine + scopeLine) +
                     "]:  No LHS found on an [=] operation.");
                return {};
            }
            assigned = true;
            continue;
        }
        if (token == "[") {
            inCount = true;
            continue;
        }
        if (token == "]") {
            inCount = false;
            continue;
        }
        if (inCount) {
            if (!HasWhitespace(token)) count += token;
            continue;
        }
        left.push_back(token);
    }
    while (!left.empty() && HasWhitespace(left.back())) left.pop_back();
    if (left.empty()) return {};
    name = left.back();
    left.pop_back();
    std::string typeText;
    for (const std::string& t : left) typeText += t;
    type = Collapsed(typeText);
    value = Trimmed(right);
    std::string statement = type.empty() ? name : type + " " + name;
    if (!count.empty()) statement += "[" + count + "]";
    if (!value.empty()) statement += " = " + value;
    return statement + ";\n";
}

namespace {
// Where the token's first "->" ends when the text before it, with the
// arrow, is one of the entity prefixes; npos otherwise.
std::size_t PrefixEnd(const std::string& token, const std::unordered_map<std::string, std::string>& prefixes) {
    const std::size_t arrow = token.find("->");
    if (arrow == std::string::npos || prefixes.count(token.substr(0, arrow + 2)) == 0) return std::string::npos;
    return arrow + 2;
}
}  // namespace

bool ConvertScanner::ReplaceEntityFunctionCall(std::list<std::string>::iterator& position, const PrefixMap& prefixes) {
    if (position == lines.end()) return false;
    std::string& token = *position;
    const std::size_t memberStart = PrefixEnd(token, prefixes);
    if (memberStart == std::string::npos) return false;
    const std::string object = token.substr(0, memberStart - 2);
    const std::string member = token.substr(memberStart);
    if (member.find("->") != std::string::npos || member.find('.') != std::string::npos) return false;
    if (member.empty() || member[0] == '_') return false;
    auto open = position;
    if (!AdvanceIter(open, false, "") || *open != "(") return false;
    auto close = open;
    if (!AdvanceIter(close, false, "") || *close != ")") return false;
    // Only calls without arguments: the call raises the event of that name.
    token = prefixes.count("self->") != 0 ? "self->DoEvent" : object + "->DoEvent";
    *open = "(\"" + member + "\", " + object;
    return true;
}

bool ConvertScanner::ReplaceEntityCode(std::list<std::string>::iterator& position, const PrefixMap& prefixes) {
    if (position == lines.end()) return false;
    std::string& token = *position;
    const std::size_t memberStart = PrefixEnd(token, prefixes);
    if (memberStart == std::string::npos) return false;
    std::size_t end = token.find('.', memberStart);
    const std::size_t nextArrow = token.find("->", memberStart);
    if (nextArrow < end) end = nextArrow;
    if (end == std::string::npos) end = token.size();
    const std::string member = token.substr(memberStart, end - memberStart);
    if (member.empty() || member[0] == '_') return false;
    auto next = position;
    const bool haveNext = AdvanceIter(next, false, "");
    // A member function called with arguments is no variable.
    if (haveNext && *next == "(") return false;
    const bool indexed = haveNext && *next == "[";
    const auto found = varTypeByName.find(member);
    if (found == varTypeByName.end()) {
        Note("Warning [Function: " + currentFunction + "  Offset: " + std::to_string(scopeLine) + "]:  variable [" +
             member + "] could not be found in database");
        return false;
    }
    std::string typeText = found->second;
    bool array = indexed;
    for (std::size_t i = 0; i < memberNames.size() && !array; ++i)
        if (memberNames[i] == member && !memberCounts[i].empty()) array = true;
    // The program binds an array as "T[]", a type no access can be of: an
    // array access reaches it as a stencil's own array, through a pointer to
    // its first element.
    if (array && typeText.size() > 2 && typeText.compare(typeText.size() - 2, 2, "[]") == 0)
        typeText = typeText.substr(0, typeText.size() - 2) + " *";
    const bool pointer = !typeText.empty() && typeText.back() == '*';
    const std::string object = token.substr(0, memberStart - 2);
    token = std::string(array && pointer ? "GETVARIABLEP(" : "GETVARIABLE(") + object + ", " + typeText + ", " +
            member + ")" + token.substr(end);
    return true;
}

std::list<std::string>::iterator ConvertScanner::ForEachDefinition(const DefinitionStep& each) {
    std::string type, name, value, count;
    auto start = lines.begin();
    for (auto at = lines.begin(); at != lines.end(); ++at) {
        if (*at != ";") continue;
        InterpretVariableDefinition(start, type, name, value, count);
        start = std::next(at);
        if (!each(type, name, value, count)) break;
    }
    return start;
}

void ConvertScanner::ScanForVariables() {
    ForEachDefinition(
        [](const std::string&, const std::string&, const std::string&, const std::string&) { return true; });
}

void ConvertScanner::ScanExVariables() {
    std::string work;
    ForEachDefinition(
        [&](const std::string& type, const std::string& name, const std::string& value, const std::string& count) {
            if (name.empty()) return true;
            const std::size_t dot = name.find('.');
            const std::string variable = name.substr(0, dot);
            const std::string path = dot == std::string::npos ? std::string{} : name.substr(dot);
            bool known = false;
            for (const std::string& member : memberNames) known = known || tokenEquivalent(member, variable);
            const std::string assignment = value.empty() ? ";\n" : " = " + value + ";\n";
            if (!type.empty() && !known) {
                memberNames.push_back(variable);
                memberTypes.push_back(type);
                memberValues.push_back(assignment);
                memberCounts.push_back(count);
                RecordVariable(typeNameText, variable, count.empty() ? type : type + " *");
            }
            // A part of a base variable assigned without a type: the variable's
            // own type.
            std::string typeText = type;
            if (typeText.empty()) {
                const auto found = varTypeByName.find(variable);
                if (found != varTypeByName.end()) typeText = found->second;
            }
            // An array names its count beside its type, as the record writes
            // it ("int[3]"): the way back reads the type from this line, and
            // the count is not written anywhere else.
            if (!count.empty()) typeText += "[" + count + "]";
            work += "\tGETVARIABLE(object, " + typeText + ", " + variable + ")" + path + assignment;
            return true;
        });
    if (!work.empty()) memberDeclText = "\t\t// Variables\n" + work + "\n";
    memberDeclText += "\t_Differences(object);\n}\n\n";
}
