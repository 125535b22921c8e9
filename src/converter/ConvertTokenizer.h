#pragma once
// The converter's lexical layer: the input file read line by line, the
// tokens of a text or of the file's next scope, comment and blank-line tests,
// token comparison and parameter type codes. Its state is what the layers
// built on it (CppConvert) read: the scope's tokens in lines or tokens, the
// line counters, convertOk and the messages.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <list>
#include <memory>
#include <string>
#include <vector>

class ConvertTokenizer {
public:
    ConvertTokenizer(const ConvertTokenizer&) = delete;
    ConvertTokenizer& operator=(const ConvertTokenizer&) = delete;

protected:
    ConvertTokenizer();
    ~ConvertTokenizer();

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
    int TokenizeScope(int& kind, const std::string& text, bool toList);
    std::size_t DefaultTokenize(std::string& line, std::size_t position, bool toList);
    static int InterpretScopeName(std::string& header);
    std::string ConvertArgList(const std::string& parameters);
    static std::string RevertArgList(const std::string& code);

    // Tokenizer internals.
    enum class ScanEnd { TextEnded, ScopeEnded, InputEnded };
    ScanEnd ScanText(const std::string& text, bool toList, bool fileMode, int& depth);
    template <class Target>
    ScanEnd ScanInto(Target& target, const std::string& text, bool toList, bool fileMode, int& depth);
    // The steps of ScanInto that use the converter's state. Each takes the
    // token at pos and moves pos past it; a false answer ends the scan.
    template <class Target>
    void ScanArrow(Target& target, const std::string& line, std::size_t& pos);
    // In file mode the comment may go on over further lines, joined onto line.
    template <class Target>
    bool ScanBlockComment(Target& target, std::string& line, std::size_t& pos, bool fileMode, ScanEnd& end);
    template <class Target>
    bool ScanLineComment(Target& target, const std::string& line, std::size_t& pos, bool fileMode);
    // False at the "}" that closes the scan's scope (kept when keepClosing).
    template <class Target>
    bool ScanBrace(Target& target, const std::string& line, std::size_t& pos, bool keepClosing, int& depth);
    // File mode: the lines up to the next scope, and that scope (code as
    // TokenizeScope answers it).
    int ReadNextScope(int& kind);
    // Whether line is a brace standing outside any scope (a wrapper's closing
    // brace, or a stray one, reported), which is passed over.
    bool SkipStrayBrace(const std::string& line);
    // Past the blocks marked as inherited when they are skipped; false when
    // the input ends in or right after one.
    bool SkipInheritedBlocks(std::string& line);
    // line becomes its text after a block comment opened on it; false when
    // the file ends inside the comment.
    bool SkipBlockCommentOpening(std::string& line);
    // Whether a line outside any scope is a comment, empty or a directive;
    // a comment sets kind (when kind is asked for) to the function kind it names.
    bool SkipOutsideLine(const std::string& line, int& kind);
    // 2 event, 3 engine, 4 helper, 0 for any other comment.
    static int FunctionKindOf(const std::string& comment);
    // Joins lines onto a scope header until it holds its "{"; false when the
    // file ends first.
    bool CollectScopeHeader(std::string& collected);
    // A scope whose header has been read: the header, then its body's tokens
    // into lines; the scope's code, or -1 when its body does not close.
    int ReadScope(std::string& header, const std::string& rest);
    // The body's tokens, from the text after the "{" until the depth falls
    // to 0; false when the input ends first.
    bool ScanScopeBody(const std::string& header, std::string pending);
    // The next line of a body, past the blocks marked as inherited when they
    // are skipped; false, reported, when the file ends.
    bool ReadBodyLine(std::string& line, const std::string& header);
    bool ReadLine(std::string& line);
    enum class SkipResult { Skipped, Unclosed, InputEnded };
    // From a line holding "//INHERITED" past the line holding "//END
    // INHERITED"; line becomes the line after it.
    SkipResult SkipInheritedBlock(std::string& line);
    std::vector<std::string> TokensOf(const std::string& text);

    void Note(const std::string& text) { messages.push_back(text); }
    std::string LinePrefix(int line) const;

    std::ifstream input;
    std::list<std::string> lines;
    std::vector<std::string> tokens;
    std::int32_t lineNumber = 0;
    std::int32_t scopeLine = 0;
    std::int32_t baseLine = 0;
    bool convertOk = true;
    // [0]: skip the blocks marked as inherited; [1], [2]: the variable scan's.
    bool tokenizerFlags[3] = {};
    std::vector<std::string> messages;
    // Open "namespace X {" and "extern "C" {" wrappers of the file being read.
    int openWrappers = 0;
    std::unique_ptr<char[]> lineBuffer;
};
