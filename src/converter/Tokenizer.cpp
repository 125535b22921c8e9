// The converter's lexical layer: tokens, scopes by brace depth, scope
// headers and parameter type codes.
#include <cstdio>
#include <cstring>

#include "converter/ConvertTokenizer.h"

namespace {
// The longest line the converter reads; a longer one ends the read.
constexpr std::size_t kLineLimit = 524287;
constexpr const char* kAlphaNumerals = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool IsIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
bool IsWordChar(char c) { return IsIdentifierChar(c) || c == '.' || c == ':'; }
bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsAssignmentOperatorChar(char c) { return c != '\0' && std::strchr("!><*+-/^|&=%", c) != nullptr; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool Contains(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }

// The first word of a header, when the header opens a wrapper whose inside
// holds scopes of their own rather than being one.
bool IsWrapperHeader(const std::string& header) {
    const std::size_t start = header.find_first_not_of(" \t\n");
    if (start == std::string::npos) return false;
    std::size_t end = start;
    while (end < header.size() && IsIdentifierChar(header[end])) ++end;
    const std::string word = header.substr(start, end - start);
    return word == "namespace" || (word == "extern" && Contains(header, "\"C\""));
}

// Whether the line's first character other than whitespace is a brace (the
// only lines that can be a lone brace).
bool StartsWithBrace(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t\n");
    return start != std::string::npos && (line[start] == '{' || line[start] == '}');
}

// A line outside any scope that begins with "#" but names no section.
bool IsDirectiveLine(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t\n");
    if (start == std::string::npos || line[start] != '#') return false;
    for (const char* section : {"#Variables", "#Differences", "#Engines", "#Objects", "#Globals"})
        if (Contains(line, section)) return false;
    return true;
}
// A parameter's type text: what stands before its name (the last run of
// letters), or its first character when it is all name.
std::string ParameterType(const std::string& piece) {
    std::size_t end = piece.size();
    while (end > 0 && !IsLetter(piece[end - 1])) --end;
    std::size_t nameStart = end;
    while (nameStart > 0 && IsLetter(piece[nameStart - 1])) --nameStart;
    return (nameStart == 0 && end > 0) ? piece.substr(0, 1) : piece.substr(0, nameStart);
}

// The code of one type word: "C" for const, else its three-digit number in
// the table; a word the table lacks counts as "000" and clears known.
std::string TypeWordCode(const std::string& word, bool& known) {
    static const char* const typeTable[] = {"char",   "short", "int",    "float",
                                            "double", "void",  "Entity", "std::vector<int>"};
    if (word == "const") return "C";
    int number = -1;
    for (int n = 0; n < 8; ++n)
        if (word == typeTable[n]) number = n;
    if (number < 0) {
        known = false;
        number = 0;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03i", number);
    return digits;
}

// A type text's code: its words' codes, "P" for each "*" and "A" for each
// "&", in order. A text without a type word has no code ("000", not known).
std::string TypeCode(const std::string& typeText, bool& known) {
    std::string code;
    bool anyWord = false;
    std::size_t i = 0;
    while (i < typeText.size()) {
        const char c = typeText[i];
        if (c == ' ') {
            ++i;
        } else if (c == '*' || c == '&') {
            code += c == '*' ? 'P' : 'A';
            ++i;
        } else {
            std::size_t end = typeText.find_first_of(" *&", i);
            if (end == std::string::npos) end = typeText.size();
            code += TypeWordCode(typeText.substr(i, end - i), known);
            i = end;
            anyWord = true;
        }
    }
    if (!anyWord) {
        known = false;
        code += "000";
    }
    return code;
}
}  // namespace

std::size_t ConvertTokenizer::DefaultTokenize(std::string& line, std::size_t position, bool toList) {
    auto push = [&](std::string token) {
        if (toList)
            lines.push_back(std::move(token));
        else
            tokens.push_back(std::move(token));
    };
    if (position >= line.size()) return std::string::npos;
    const char c = line[position];
    if (IsWordChar(c)) {
        std::size_t end = position;
        while (end < line.size() && IsWordChar(line[end])) ++end;
        push(line.substr(position, end - position));
        return end < line.size() ? end : std::string::npos;
    }
    if (c == '\n') return line.size();
    push(std::string(1, c));
    return position + 1;
}

namespace {
// A run of whitespace is one token; at the start of a text it joins the token
// before it.
template <class Target>
void ScanWhitespace(Target& target, const std::string& line, std::size_t& pos) {
    std::size_t end = pos;
    while (end < line.size() && IsWhitespace(line[end])) ++end;
    if (pos == 0 && !target.empty())
        target.back() += line.substr(pos, end - pos);
    else
        target.push_back(line.substr(pos, end - pos));
    pos = end;
}

// A quoted text up to its closing quote, or to the end of its line.
template <class Target>
void ScanQuoted(Target& target, const std::string& line, std::size_t& pos) {
    const char quote = line[pos];
    std::size_t lineEnd = line.find('\n', pos + 1);
    if (lineEnd == std::string::npos) lineEnd = line.size();
    const std::size_t close = line.find(quote, pos + 1);
    const std::size_t end = (close != std::string::npos && close < lineEnd) ? close + 1 : lineEnd;
    target.push_back(line.substr(pos, end - pos));
    pos = end;
}

// "(" with the blanks after it left out.
template <class Target>
void ScanOpeningParenthesis(Target& target, const std::string& line, std::size_t& pos) {
    target.push_back("(");
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
}

// "=" completes an operator token before it ("+=", "==", "!="...); an "="
// opening the text is dropped.
template <class Target>
void ScanEquals(Target& target, std::size_t& pos) {
    if (!target.empty()) {
        std::string& last = target.back();
        if (last.size() == 1 && IsAssignmentOperatorChar(last[0]))
            last += '=';
        else
            target.push_back("=");
    }
    ++pos;
}

// The tokens that need no state of the converter: whitespace, quoted texts,
// doubled operators and "(" and "=". False for any other character.
template <class Target>
bool ScanPlainToken(Target& target, const std::string& line, std::size_t& pos) {
    const char c = line[pos];
    const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
    if (IsWhitespace(c)) {
        ScanWhitespace(target, line, pos);
    } else if (c == '"' || c == '\'') {
        ScanQuoted(target, line, pos);
    } else if ((c == '&' || c == '+' || c == '|' || c == '-') && next == c) {
        target.push_back(line.substr(pos, 2));
        pos += 2;
    } else if (c == '(') {
        ScanOpeningParenthesis(target, line, pos);
    } else if (c == '=') {
        ScanEquals(target, pos);
    } else {
        return false;
    }
    return true;
}
}  // namespace

template <class Target>
void ConvertTokenizer::ScanArrow(Target& target, const std::string& line, std::size_t& pos) {
    if (pos == 0 || !IsIdentifierChar(line[pos - 1])) {
        target.push_back("->");
        pos += 2;
        return;
    }
    // Right after a name: the member access joins the name's token.
    std::size_t end = pos + 2;
    while (end < line.size() && IsWordChar(line[end])) ++end;
    if (target.empty()) {
        convertOk = false;
        Note(LinePrefix(baseLine + scopeLine) + "[->] dereferencing white space");
        target.push_back(line.substr(pos, end - pos));
    } else {
        target.back() += line.substr(pos, end - pos);
    }
    pos = end;
}

template <class Target>
bool ConvertTokenizer::ScanBlockComment(Target& target, std::string& line, std::size_t& pos, bool fileMode,
                                        ScanEnd& end) {
    std::size_t close = line.find("*/", pos + 2);
    if (fileMode) {
        while (close == std::string::npos) {
            std::string more;
            if (!ReadLine(more)) {
                target.push_back(line.substr(pos));
                convertOk = false;
                Note(LinePrefix(lineNumber) + "file ends inside a '/*' comment.");
                end = ScanEnd::InputEnded;
                return false;
            }
            const std::size_t searchFrom = line.size();
            line += more;
            close = line.find("*/", searchFrom == 0 ? 0 : searchFrom - 1);
        }
    } else if (close == std::string::npos) {
        target.push_back(line.substr(pos));
        convertOk = false;
        Note(LinePrefix(baseLine + scopeLine) + "'/*' comment not closed before the end of the text.");
        end = ScanEnd::TextEnded;
        return false;
    }
    target.push_back(line.substr(pos, close + 2 - pos));
    pos = close + 2;
    return true;
}

template <class Target>
bool ConvertTokenizer::ScanLineComment(Target& target, const std::string& line, std::size_t& pos, bool fileMode) {
    if (fileMode) {
        // A file line ends with its comment.
        target.push_back(line.substr(pos));
        return false;
    }
    std::size_t end = line.find('\n', pos);
    if (end == std::string::npos) end = line.size();
    target.push_back(line.substr(pos, end - pos));
    pos = end;
    return true;
}

template <class Target>
bool ConvertTokenizer::ScanBrace(Target& target, const std::string& line, std::size_t& pos, bool keepClosing,
                                 int& depth) {
    if (line[pos] == '{') {
        target.push_back("{");
        ++depth;
        ++pos;
        return true;
    }
    --depth;
    if (depth > 0) {
        target.push_back("}");
        ++pos;
        return true;
    }
    if (keepClosing) target.push_back("}");
    return false;
}

template <class Target>
ConvertTokenizer::ScanEnd ConvertTokenizer::ScanInto(Target& target, const std::string& text, bool toList,
                                                     bool fileMode, int& depth) {
    std::string line = text;  // file mode joins further lines of a block comment onto it
    std::size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
        ScanEnd end = ScanEnd::TextEnded;
        if (ScanPlainToken(target, line, pos)) continue;
        if (c == '-' && next == '>') {
            ScanArrow(target, line, pos);
        } else if (c == '/' && next == '*') {
            if (!ScanBlockComment(target, line, pos, fileMode, end)) return end;
        } else if (c == '/' && next == '/') {
            if (!ScanLineComment(target, line, pos, fileMode)) return ScanEnd::TextEnded;
        } else if (c == '{' || c == '}') {
            if (!ScanBrace(target, line, pos, !fileMode && !toList, depth)) return ScanEnd::ScopeEnded;
        } else {
            pos = DefaultTokenize(line, pos, toList);
            if (pos == std::string::npos) break;
        }
    }
    return ScanEnd::TextEnded;
}

ConvertTokenizer::ScanEnd ConvertTokenizer::ScanText(const std::string& text, bool toList, bool fileMode, int& depth) {
    return toList ? ScanInto(lines, text, toList, fileMode, depth) : ScanInto(tokens, text, toList, fileMode, depth);
}

bool ConvertTokenizer::ReadLine(std::string& line) {
    if (!input.good()) return false;
    line = TrueGetLine(nullptr);
    return !input.fail();
}

ConvertTokenizer::SkipResult ConvertTokenizer::SkipInheritedBlock(std::string& line) {
    const int start = lineNumber;
    while (!Contains(line, "//END INHERITED")) {
        if (!ReadLine(line)) {
            convertOk = false;
            Note(LinePrefix(start) + "inherited block not closed before the end of the file.");
            return SkipResult::Unclosed;
        }
    }
    return ReadLine(line) ? SkipResult::Skipped : SkipResult::InputEnded;
}

int ConvertTokenizer::TokenizeScope(int& kind, const std::string& text, bool toList) {
    tokens.clear();
    if (!text.empty()) {
        if (toList) lines.clear();
        int depth = 1;
        ScanText(text, toList, false, depth);
        return 1;
    }
    lines.clear();
    return ReadNextScope(kind);
}

int ConvertTokenizer::ReadNextScope(int& kind) {
    std::string line;
    std::string carried;  // text after a wrapper's "{", read as a line of its own
    bool haveCarried = false;
    while (true) {
        if (haveCarried) {
            line = carried;
            haveCarried = false;
        } else if (!ReadLine(line)) {
            return -1;
        }
        if (SkipStrayBrace(line)) continue;
        if (!SkipInheritedBlocks(line)) return -1;
        if (Contains(line, ";")) {
            lines.push_back(line);
            return -1;
        }
        if (!SkipBlockCommentOpening(line)) return -1;
        if (SkipOutsideLine(line, kind)) continue;
        if (!CollectScopeHeader(line)) return -1;
        const std::size_t brace = line.find('{');
        std::string header = line.substr(0, brace);
        std::string rest = line.substr(brace + 1);
        if (IsWrapperHeader(header)) {
            ++openWrappers;
            if (!IsEmptyLine(rest)) {
                carried = rest;
                haveCarried = true;
            }
            continue;
        }
        return ReadScope(header, rest);
    }
}

bool ConvertTokenizer::SkipStrayBrace(const std::string& line) {
    if (!StartsWithBrace(line)) return false;
    // The closing brace of a wrapper around the file's scopes.
    if (openWrappers > 0 && tokenEquivalent(line, "}")) {
        --openWrappers;
        return true;
    }
    if (tokenizerFlags[0]) return false;
    for (const char* brace : {"}", "{"}) {
        if (tokenEquivalent(line, brace)) {
            convertOk = false;
            Note(LinePrefix(lineNumber) + "'" + brace + "' outside any scope.");
            return true;
        }
    }
    return false;
}

bool ConvertTokenizer::SkipInheritedBlocks(std::string& line) {
    // The line after one block may open the next.
    while (tokenizerFlags[0] && Contains(line, "//INHERITED"))
        if (SkipInheritedBlock(line) != SkipResult::Skipped) return false;
    return true;
}

bool ConvertTokenizer::SkipBlockCommentOpening(std::string& line) {
    const std::size_t open = line.find("/*");
    if (open == std::string::npos) return true;
    std::size_t close = line.find("*/", open + 2);
    const int start = lineNumber;
    while (close == std::string::npos) {
        std::string more;
        if (!ReadLine(more)) {
            convertOk = false;
            Note(LinePrefix(start) + "file ends inside a '/*' comment.");
            return false;
        }
        line = more;
        close = line.find("*/");
    }
    line = line.substr(close + 2);
    return true;
}

bool ConvertTokenizer::SkipOutsideLine(const std::string& line, int& kind) {
    const int comment = IsComment(line);
    if (kind != 0 && comment != 0) kind = FunctionKindOf(line);
    return comment != 0 || IsEmptyLine(line) || IsDirectiveLine(line);
}

int ConvertTokenizer::FunctionKindOf(const std::string& comment) {
    if (Contains(comment, "// Function bound to event")) return 2;
    if (Contains(comment, "// Function bound to engine")) return 3;
    if (Contains(comment, "// Helper function")) return 4;
    return 0;
}

bool ConvertTokenizer::CollectScopeHeader(std::string& collected) {
    while (!Contains(collected, "{")) {
        std::string more;
        if (!ReadLine(more)) {
            // A header whose scope never opens: the text is broken.
            convertOk = false;
            std::string shown = collected;
            while (!shown.empty() && (shown.back() == '\n' || shown.back() == ' ')) shown.pop_back();
            Note(LinePrefix(lineNumber) + "'" + shown + "' has no '{' before the end of the file.");
            return false;
        }
        collected += more;
    }
    return true;
}

int ConvertTokenizer::ReadScope(std::string& header, const std::string& rest) {
    const int code = InterpretScopeName(header);
    lines.push_back(header);
    baseLine = lineNumber + 1;
    const bool closed = ScanScopeBody(header, rest);
    // The body's tokens follow the header however the body ended.
    lines.insert(lines.end(), tokens.begin(), tokens.end());
    return closed ? code : -1;
}

bool ConvertTokenizer::ScanScopeBody(const std::string& header, std::string pending) {
    int depth = 1;
    while (true) {
        if (!pending.empty()) {
            const ScanEnd end = ScanText(pending, false, true, depth);
            pending.clear();
            if (end == ScanEnd::ScopeEnded) return true;
            if (end == ScanEnd::InputEnded) return false;
        }
        if (!ReadBodyLine(pending, header)) return false;
    }
}

bool ConvertTokenizer::ReadBodyLine(std::string& line, const std::string& header) {
    bool read = ReadLine(line);
    while (read && tokenizerFlags[0] && Contains(line, "//INHERITED")) {
        const SkipResult skipped = SkipInheritedBlock(line);
        if (skipped == SkipResult::Unclosed) return false;
        read = skipped == SkipResult::Skipped;
    }
    if (!read) {
        convertOk = false;
        Note(LinePrefix(baseLine + scopeLine) + "In function " + header + ", file ends before closing '}' is found.");
    }
    return read;
}

int ConvertTokenizer::InterpretScopeName(std::string& header) {
    static const char* const sections[] = {"#Variables", "#Differences", "#Engines", "#Objects", "#Globals"};
    for (int i = 0; i < 5; ++i)
        if (Contains(header, sections[i])) return i + 1;
    if (!header.empty() && header.back() == '\n') header.pop_back();
    return 0;
}

std::string ConvertTokenizer::ConvertArgList(const std::string& parameters) {
    if (parameters.empty()) return "_";
    if (parameters == "void") return "_005_";
    std::string result = "_";
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = parameters.find(',', start);
        const std::string piece =
            parameters.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        bool known = true;
        result += TypeCode(ParameterType(piece), known) + "_";
        if (!known) convertOk = false;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return result;
}

std::string ConvertTokenizer::RevertArgList(const std::string&) { return "bar"; }

ConvertTokenizer::ConvertTokenizer() : lineBuffer(new char[kLineLimit + 1]) {}

ConvertTokenizer::~ConvertTokenizer() = default;

std::string ConvertTokenizer::LinePrefix(int line) const {
    return "CppConvert ERROR Line[" + std::to_string(line) + "]:  ";
}

std::string ConvertTokenizer::TrueGetLine(std::ifstream* stream) {
    std::ifstream& from = stream != nullptr ? *stream : input;
    ++lineNumber;
    from.getline(lineBuffer.get(), static_cast<std::streamsize>(kLineLimit + 1));
    const std::streamsize extracted = from.gcount();
    std::string line;
    if (from.fail()) {
        if (extracted > 0) {
            // Filled the buffer without meeting the line's end: not supported.
            // The stream stays failed, so every reading loop ends here.
            convertOk = false;
            Note(LinePrefix(lineNumber) + "line longer than " + std::to_string(kLineLimit) + " characters.");
        }
        return "\n";
    }
    // A line ended by its line feed counts the feed among what was extracted.
    const std::size_t stored = static_cast<std::size_t>(from.eof() ? extracted : extracted - 1);
    line.assign(lineBuffer.get(), stored);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.back() != '\n') line.push_back('\n');
    return line;
}

int ConvertTokenizer::IsComment(const std::string& line) {
    const std::size_t lineComment = line.find("//");
    const std::size_t blockComment = line.find("/*");
    const std::size_t code = line.find_first_of(kAlphaNumerals);  // npos lies beyond every position
    if (blockComment != std::string::npos) return blockComment < code ? 3 : 2;
    if (lineComment != std::string::npos) return lineComment < code ? 1 : 2;
    return 0;
}

bool ConvertTokenizer::IsEmptyLine(const std::string& line) {
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    return true;
}

bool ConvertTokenizer::IsChar(char c) { return IsIdentifierChar(c); }

char ConvertTokenizer::CharToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> ConvertTokenizer::TokensOf(const std::string& text) {
    // An empty text holds no tokens (and must not start a file read).
    if (text.empty()) return {};
    // A comparison changes nothing of the converter: the caller may be
    // walking the scope token sequence, and a text that would be an error
    // as a scope (an unclosed "/*") is no error here.
    std::vector<std::string> kept;
    kept.swap(tokens);
    const bool ok = convertOk;
    const std::size_t noted = messages.size();
    int kind = 0;
    TokenizeScope(kind, text, false);
    std::vector<std::string> result;
    result.swap(tokens);
    tokens.swap(kept);
    convertOk = ok;
    messages.resize(noted);
    return result;
}

bool ConvertTokenizer::tokenEquivalent(const std::string& first, const std::string& second) {
    const std::vector<std::string> a = TokensOf(first);
    const std::vector<std::string> b = TokensOf(second);
    auto isWhitespace = [](const std::string& token) { return token.find_first_of(" \t\n") != std::string::npos; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (true) {
        while (i < a.size() && isWhitespace(a[i])) ++i;
        while (j < b.size() && isWhitespace(b[j])) ++j;
        if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
        if (a[i] != b[j]) return false;
        ++i;
        ++j;
    }
}

std::string ConvertTokenizer::StandardfyString(std::string text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsWhitespace(text[i])) {
            result.push_back(text[i++]);
            continue;
        }
        while (i < text.size() && IsWhitespace(text[i])) ++i;
        if (i < text.size() && IsChar(text[i])) result.push_back(' ');
    }
    return result;
}

std::size_t ConvertTokenizer::AdvanceTill(std::string& line, const std::string& marker) {
    while (input.good()) {
        line = TrueGetLine(nullptr);
        if (input.fail()) break;
        if (marker.empty()) {
            const std::size_t at = line.find_first_not_of(" \t\n");
            if (at != std::string::npos) return at;
            continue;
        }
        const std::size_t comment = line.find("//");
        if (comment != std::string::npos && comment < line.find_first_of(kAlphaNumerals)) continue;
        const std::size_t hit = line.find(marker);
        if (hit != std::string::npos) return hit;
    }
    return 0;
}

bool ConvertTokenizer::AdvanceIter(std::list<std::string>::iterator& position, bool countLines,
                                   const std::string& marker) {
    auto countBreaks = [&](const std::string& element) {
        if (!countLines) return;
        for (char c : element)
            if (c == '\n') ++scopeLine;
    };
    if (position == lines.end()) return false;
    if (marker.empty()) {
        ++position;
        while (position != lines.end()) {
            const std::string& element = *position;
            // A string or character literal is a token, whatever it holds: a
            // default text "no name" or "a // b" is a value, not whitespace
            // or a comment to pass over.
            if (!element.empty() && (element.front() == '"' || element.front() == '\'')) return true;
            const bool inheritedMarker = element.find("//INHERITED") != std::string::npos ||
                                         element.find("//END INHERITED") != std::string::npos;
            const bool comment = element.find("//") != std::string::npos || element.find("/*") != std::string::npos;
            const bool whitespace = element.find_first_of(" \t\n") != std::string::npos;
            if (inheritedMarker || (!comment && !whitespace)) return true;
            countBreaks(element);
            ++position;
        }
        return false;
    }
    while (position != lines.end()) {
        const bool hit = position->find(marker) != std::string::npos;
        countBreaks(*position);
        ++position;
        if (hit) return true;
    }
    return false;
}
