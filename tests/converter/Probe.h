#pragma once
// Test access to the converter's private helpers and state.
#include <fstream>
#include <list>
#include <string>
#include <vector>

#include "converter/CppConvert.h"
#include "support/TempFolder.h"

struct CppConvertProbe {
    CppConvert& c;

    static int IsComment(const std::string& line) { return CppConvert::IsComment(line); }
    static bool IsEmptyLine(const std::string& line) { return CppConvert::IsEmptyLine(line); }
    static bool IsChar(char ch) { return CppConvert::IsChar(ch); }
    static char CharToUpper(char ch) { return CppConvert::CharToUpper(ch); }
    static std::string StandardfyString(const std::string& text) { return CppConvert::StandardfyString(text); }
    static int InterpretScopeName(std::string& header) { return CppConvert::InterpretScopeName(header); }
    static std::string RevertArgList(const std::string& code) { return CppConvert::RevertArgList(code); }

    bool tokenEquivalent(const std::string& a, const std::string& b) { return c.tokenEquivalent(a, b); }
    std::string TrueGetLine() { return c.TrueGetLine(nullptr); }
    std::size_t AdvanceTill(std::string& line, const std::string& marker) { return c.AdvanceTill(line, marker); }
    bool AdvanceIter(std::list<std::string>::iterator& at, bool count, const std::string& marker) {
        return c.AdvanceIter(at, count, marker);
    }
    int TokenizeScope(int& kind, const std::string& text, bool toList) { return c.TokenizeScope(kind, text, toList); }
    std::size_t DefaultTokenize(std::string& line, std::size_t at, bool toList) {
        return c.DefaultTokenize(line, at, toList);
    }
    std::string ConvertArgList(const std::string& parameters) { return c.ConvertArgList(parameters); }
    void ConvertReset() { c.ConvertReset(); }

    // Opens the converter's input on a file holding text.
    void Open(const TempFolder& folder, const std::string& text, const std::string& name = "script.txt") {
        const std::string path = folder / name;
        {
            std::ofstream out(path, std::ios::binary);
            out << text;
        }
        if (c.input.is_open()) c.input.close();
        c.input.clear();
        c.input.open(path, std::ios::binary);
    }

    void WriteDLLEnum() { c.WriteDLLEnum(); }
    void AddToEnum() { c.AddToEnum(); }
    std::int32_t GetEnumValue(const std::string& name) { return c.GetEnumValue(name); }
    auto& varSetsByType() { return c.varSetsByType; }
    void RevertClass(CppData& data) { c.RevertClass(data); }
    void RevertExObject(CppData& data) { c.RevertExObject(data); }
    void RevertFunction() { c.RevertFunction(); }
    std::vector<std::list<std::string>>& functionLines() { return c.functionLines; }

    std::list<std::string>& lines() { return c.lines; }
    std::vector<std::string>& tokens() { return c.tokens; }
    bool& convertOk() { return c.convertOk; }
    bool& skipInherited() { return c.tokenizerFlags[0]; }
    int& lineNumber() { return c.lineNumber; }
    int& scopeLine() { return c.scopeLine; }
    int& baseLine() { return c.baseLine; }
    std::vector<std::string>& messages() { return c.messages; }
    bool inputFailed() { return c.input.fail(); }
    bool inputGood() { return c.input.good(); }
};
