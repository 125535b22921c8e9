#pragma once
// Test access to the converter's private helpers and state.
#include <fstream>
#include <list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converter/CppConvert.h"
#include "framework/Globals.h"
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
    // The type texts of the special member types, in table order.
    static std::vector<std::string> SpecialTypeTexts() { return CppConvert::SpecialTypeTexts(); }
    void RevertClass(CppData& data) { c.RevertClass(data); }
    void RevertExObject(CppData& data) { c.RevertExObject(data); }
    void RevertFunction() { c.RevertFunction(); }
    std::vector<std::list<std::string>>& functionLines() { return c.functionLines; }

    // Scanning, building and rewriting.
    void ScanGlobals(CppData& record, std::vector<std::string>& names) { c.ScanGlobals(record, names); }
    void ScanMemberVariables(CppData* record) { c.ScanMemberVariables(record); }
    void ScanObjectNames() { c.ScanObjectNames(); }
    void ScanEngineValues() { c.ScanEngineValues(); }
    void ScanEngineEvents(const std::vector<std::string>& names, bool inherited) {
        c.ScanEngineEvents(names, inherited);
    }
    void ScanExVariables() { c.ScanExVariables(); }
    bool BuildComplexEx(CppData& record, const std::string& header, const std::string& source) {
        return c.BuildComplexEx(record, header, source);
    }
    std::string InterpretVariableDefinition(std::string& type, std::string& name, std::string& value,
                                            std::string& count) {
        return c.InterpretVariableDefinition(c.lines.begin(), type, name, value, count);
    }
    using PrefixMap = CppConvert::PrefixMap;
    bool ReplaceEntityFunctionCall(std::list<std::string>::iterator& at, const PrefixMap& prefixes) {
        return c.ReplaceEntityFunctionCall(at, prefixes);
    }
    bool ReplaceEntityCode(std::list<std::string>::iterator& at, const PrefixMap& prefixes) {
        return c.ReplaceEntityCode(at, prefixes);
    }
    void AddFunctionHeader(const std::string& list, const std::string& space, const std::vector<std::string>& headers) {
        c.AddFunctionHeader(list, space, headers);
    }
    bool MakeHelperInclude(const std::string& r, const std::string& n, const std::string& a, const std::string& d) {
        return c.MakeHelperInclude(r, n, a, d);
    }
    void MakeTempHelperInclude(const std::string& r, const std::string& n, const std::string& a, const std::string& d) {
        c.MakeTempHelperInclude(r, n, a, d);
    }
    // Text mode into the token list, as the builder feeds a text.
    void Tokenize(const std::string& text) {
        int kind = 0;
        c.TokenizeScope(kind, text, true);
    }

    std::vector<std::string>& memberNames() { return c.memberNames; }
    std::vector<std::string>& memberTypes() { return c.memberTypes; }
    std::vector<std::string>& memberValues() { return c.memberValues; }
    std::vector<std::string>& memberCounts() { return c.memberCounts; }
    std::vector<std::string>& instanceNames() { return c.instanceNames; }
    std::vector<std::string>& instanceTypes() { return c.instanceTypes; }
    std::vector<std::string>& engineNames() { return c.engineNames; }
    std::vector<std::string>& engineValues() { return c.engineValues; }
    std::string& memberDeclText() { return c.memberDeclText; }
    std::string& helperDefinitions() { return c.headerTexts[0]; }
    std::string& boundDefinitions() { return c.headerTexts[1]; }
    std::string& currentFunction() { return c.currentFunction; }
    std::string& typeNameText() { return c.typeNameText; }
    CppData& parent() { return c.current; }
    auto& varTypeByName() { return c.varTypeByName; }

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

// A fixture whose working folder is a fresh temporary folder.
struct ConverterInWorkingFolder : ::testing::Test {
    CppConvert converter;
    CppConvertProbe probe{converter};
    TempFolder folder;
    std::string savedDirectory;

    void SetUp() override {
        savedDirectory = Globals.workingDirectory;
        ASSERT_TRUE(CopyPath(Globals.workingDirectory, folder.Path()));
    }
    void TearDown() override { CopyPath(Globals.workingDirectory, savedDirectory); }
};
