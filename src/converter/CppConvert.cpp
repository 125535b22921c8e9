#include "converter/CppConvert.h"

#include <cstdio>

namespace {
// The longest line the converter reads; a longer one ends the read.
constexpr std::size_t kLineLimit = 524287;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsAlphaNumeral(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
constexpr const char* kAlphaNumerals = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
}  // namespace

CppConvert cppConvert;

const char* const CppConvert::entityTypes[6] = {"Entity", "Game", "Level", "Engine", "Object", nullptr};

CppConvert::CppConvert() : lineBuffer(new char[kLineLimit + 1]) {
    ConvertReset();
    varSetsByType.clear();
    varTypeByName.clear();
    enumText.clear();
    lineNumber = 0;
    for (bool& flag : tokenizerFlags) flag = false;
    preamblePending = false;
    initTexts[0].clear();
    initTexts[1].clear();
}

CppConvert::~CppConvert() = default;

void CppConvert::ConvertReset() {
    functionLines.clear();
    tokens.clear();
    memberNames.clear();
    memberTypes.clear();
    memberValues.clear();
    memberCounts.clear();
    engineFunctions.clear();
    eventFunctions.clear();
    instanceNames.clear();
    instanceTypes.clear();
    engineNames.clear();
    engineValues.clear();
    kindText.clear();
    typeNameText.clear();
    memberDeclText.clear();
    headerTexts[0].clear();
    headerTexts[1].clear();
    initTexts[1].clear();
    tokenizerFlags[0] = false;
    tokenizerFlags[1] = false;
    // A conversion reads its file from the top.
    openWrappers = 0;
}

std::string CppConvert::LinePrefix(int line) const { return "CppConvert ERROR Line[" + std::to_string(line) + "]:  "; }

std::string CppConvert::TrueGetLine(std::ifstream* stream) {
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

int CppConvert::IsComment(const std::string& line) {
    const std::size_t lineComment = line.find("//");
    const std::size_t blockComment = line.find("/*");
    const std::size_t code = line.find_first_of(kAlphaNumerals);  // npos lies beyond every position
    if (blockComment != std::string::npos) return blockComment < code ? 3 : 2;
    if (lineComment != std::string::npos) return lineComment < code ? 1 : 2;
    return 0;
}

bool CppConvert::IsEmptyLine(const std::string& line) {
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    return true;
}

bool CppConvert::IsChar(char c) { return IsAlphaNumeral(c) || c == '_'; }

char CppConvert::CharToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> CppConvert::TokensOf(const std::string& text) {
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

bool CppConvert::tokenEquivalent(const std::string& first, const std::string& second) {
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

std::string CppConvert::StandardfyString(std::string text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsBlank(text[i])) {
            result.push_back(text[i++]);
            continue;
        }
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i < text.size() && IsChar(text[i])) result.push_back(' ');
    }
    return result;
}

std::size_t CppConvert::AdvanceTill(std::string& line, const std::string& marker) {
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

bool CppConvert::AdvanceIter(std::list<std::string>::iterator& position, bool countLines, const std::string& marker) {
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
