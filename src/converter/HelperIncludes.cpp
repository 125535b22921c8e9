// Function headers read into records, and the files in the working folder
// that declare stencil helper functions: the function list files and the
// four helper headers (pointer, export and prototype lines, kept sorted).
#include <sstream>

#include "converter/CppConvert.h"
#include "framework/AtomicFile.h"
#include "framework/Globals.h"

namespace {
bool HasWhitespace(const std::string& token) { return token.find_first_of(" \t\n") != std::string::npos; }

std::string InWorkingFolder(const std::string& name) { return std::string(Globals.workingDirectory) + "/" + name; }

// The return type, name and parameters of a header's scope tokens. A header
// without "(" or without a closing ")" gives what stands before the end.
void HeaderFromTokens(const std::vector<std::string>& t, CppFunctions* record) {
    std::size_t p = 0;
    while (p < t.size() && t[p] != "(") ++p;
    if (p == t.size() || p == 0) return;
    std::size_t n = p - 1;
    if (HasWhitespace(t[n])) {
        if (n == 0) return;
        n = p - 2;
    }
    record->name = t[n];
    for (std::size_t i = 0; i + 1 < n; ++i) record->returnType += t[i];
    std::size_t a = p + 1;
    auto findBreak = [&](std::size_t from) {
        std::size_t k = from;
        while (k < t.size() && t[k].find(',') == std::string::npos && t[k].find(')') == std::string::npos) ++k;
        return k;
    };
    while (true) {
        if (a < t.size() && HasWhitespace(t[a])) ++a;
        if (a >= t.size() || t[a] == ")") return;
        std::size_t k = findBreak(a);
        if (k == t.size() || k == a) return;
        std::size_t e = k - 1;
        if (HasWhitespace(t[e])) {
            if (e == a) return;
            e = k - 2;
        }
        std::string type;
        for (std::size_t i = a; i < e; ++i) type += t[i];
        const std::size_t last = type.find_last_not_of(" \t\n");
        type.erase(last == std::string::npos ? 0 : last + 1);
        record->arguments.emplace_back(type, t[e]);
        k = findBreak(e);
        if (k == t.size() || t[k].find(')') != std::string::npos) return;
        a = k + 1;
        if (a == t.size()) return;
    }
}
}  // namespace

void ConvertWriter::ReadHeader(std::string& header, CppFunctions* record) {
    int kind = 0;
    tokens.clear();
    if (!header.empty()) TokenizeScope(kind, header, false);  // an empty text would read the input
    HeaderFromTokens(tokens, record);
}

CppFunctions BuildFunctionRecord(const std::vector<std::string>& headerTokens, const std::list<std::string>& lines,
                                 const std::string& functionType) {
    CppFunctions record;
    record.functionType = functionType;
    record.startLine = 0;
    if (functionType == "HELPER") {
        HeaderFromTokens(headerTokens, &record);
    } else {
        record.returnType = "void";
        if (!lines.empty()) record.name = lines.front();
        record.arguments = {{"Entity*", "self"}, {"Entity*", "other"}};
    }
    for (auto at = lines.empty() ? lines.end() : std::next(lines.begin()); at != lines.end(); ++at) record.code += *at;
    return record;
}

bool ConvertWriter::WriteWhole(const std::string& path, const std::string& text) {
    if (WriteFileReplacing(path, text.data(), text.size())) return true;
    ++writeFailures;
    Note("CppConvert ERROR:  could not write \"" + path + "\".");
    return false;
}

void ConvertWriter::AddFunctionHeader(const std::string& listName, const std::string& namespaceName,
                                      const std::vector<std::string>& headers) {
    const std::string path = InWorkingFolder("Function " + listName + " List.h");
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        Note("CppConvert ERROR:  the function list \"" + path + "\" cannot be read.");
        return;
    }
    std::stringstream whole;
    whole << in.rdbuf();
    in.close();
    std::string text = whole.str();
    const std::size_t lastBreak = text.rfind('\n');
    text.erase(lastBreak == std::string::npos ? 0 : lastBreak + 1);

    const std::string opening = "namespace " + namespaceName + "\n{\n";
    std::string block;
    std::size_t insertAt = 0;
    std::size_t resumeAt = 0;
    const std::size_t found = text.find(opening);
    if (found != std::string::npos) {
        insertAt = found + opening.size();
        resumeAt = text.find('}', insertAt);
    } else {
        insertAt = resumeAt = text.rfind('}');
        block = opening;
        if (insertAt != std::string::npos) text += "\n}\n";
    }
    if (resumeAt == std::string::npos || insertAt == std::string::npos) {
        // Nowhere to put the block: the file is left as it was.
        Note("CppConvert ERROR:  the function list \"" + path + "\" has no '}' to place namespace " + namespaceName +
             " before.");
        return;
    }
    for (const std::string& header : headers) block += "\tIMPORT " + header + ";\n";
    WriteWhole(path, text.substr(0, insertAt) + block + text.substr(resumeAt));
}

bool ConvertWriter::RewriteDeclarationFile(const std::string& path, const std::string& line, MatchRule rule,
                                           bool stopWhenFound, const std::function<void()>& onPlaced) {
    std::ifstream in(path, std::ios::binary);
    std::string out;
    for (int i = 0; i < 4; ++i) out += TrueGetLine(&in);
    bool placed = false;
    while (in.good()) {
        const std::string read = TrueGetLine(&in);
        if (IsEmptyLine(read)) {
            out += "\n";
            continue;
        }
        if (read.find("#endif") != std::string::npos) break;
        if (placed) {
            out += read;
            continue;
        }
        bool match = false;
        if (rule == MatchRule::Whole) {
            match = read == line;
        } else {
            const std::size_t q = read.find(')');
            match = q == std::string::npos ? read == line : read.substr(0, q) == line.substr(0, q);
        }
        if (match) {
            if (stopWhenFound) return false;
            out += line;
            placed = true;
            continue;
        }
        if (!(read < line)) {
            if (onPlaced) onPlaced();
            out += line;
            placed = true;
        }
        out += read;
    }
    in.close();
    if (!placed) {
        if (onPlaced) onPlaced();
        out += line;
    }
    out += "#endif\n";
    WriteWhole(path, out);
    return true;
}

bool ConvertWriter::MakeHelperInclude(std::string returnType, std::string name, std::string arguments,
                                      std::string declaratorOpening) {
    const int failuresBefore = writeFailures;
    const std::string pointerLine =
        "\t" + returnType + declaratorOpening + name + ConvertArgList(arguments) + ")(" + arguments + ");\n";
    RewriteDeclarationFile(InWorkingFolder("ENTITY HelperFunctions.h"), pointerLine, MatchRule::Prefix, true,
                           [&] { MakeTempHelperInclude(returnType, name, arguments, declaratorOpening); });
    return writeFailures == failuresBefore;
}

void ConvertWriter::MakeTempHelperInclude(const std::string& returnType, const std::string& name,
                                          const std::string& arguments, const std::string& declaratorOpening) {
    const std::string code = ConvertArgList(arguments);
    const std::string exportLine =
        "\tEXPORT " + returnType + declaratorOpening + name + code + ")(" + arguments + ");\n";
    const std::string prototypeLine = "\t" + returnType + " " + name + "(" + arguments + ");\n";

    const std::string tempPath = InWorkingFolder("ENTITY TempHelperFunctions.h");
    std::string temp;
    {
        std::ifstream in(tempPath, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            temp += line + "\n";
        }
    }
    WriteWhole(tempPath, temp + exportLine);
    RewriteDeclarationFile(InWorkingFolder("ENTITY MasterHelperFunctions.h"), exportLine, MatchRule::Prefix, false,
                           nullptr);
    RewriteDeclarationFile(InWorkingFolder("ENTITY Globals.h"), prototypeLine, MatchRule::Whole, false, nullptr);
}
