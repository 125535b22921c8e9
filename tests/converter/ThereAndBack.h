#pragma once
// Test helper: a record written as a script, converted, its generated header
// reverted and written as a script again; the two scripts must be equal,
// bodies compared token by token. A failure prints their difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Probe.h"
#include "framework/Engine.h"

namespace thereandback {

inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The lines only one text has, marked "-" (first) and "+" (second), in
// order, from a longest common subsequence of the two.
inline std::string Difference(const std::string& first, const std::string& second) {
    const std::vector<std::string> a = LinesOf(first), b = LinesOf(second);
    std::vector<std::vector<std::size_t>> common(a.size() + 1, std::vector<std::size_t>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    std::string out;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            ++i;
            ++j;
        } else if (j == b.size() || (i < a.size() && common[i + 1][j] >= common[i][j + 1])) {
            out += "- " + a[i++] + "\n";
        } else {
            out += "+ " + b[j++] + "\n";
        }
    }
    return out;
}

inline std::string PathOf(const std::string& folder, const CppData& record, const char* extension) {
    return folder + "/" + record.kind + "_" + record.typeName + extension;
}

// Writes record as a script into folder and converts it with cppConvert:
// the header's path, or "" when the conversion failed (reported).
inline std::string Convert(const std::string& folder, const CppData& record) {
    const std::string script = PathOf(folder, record, ".script");
    EXPECT_TRUE(cppConvert.WriteScript(script, record));
    const std::string header = PathOf(folder, record, ".h");
    if (!cppConvert.ConvertKind(record.kind, script, header, PathOf(folder, record, ".cpp"), record.typeName)) {
        std::string messages;
        for (const std::string& m : cppConvert.Messages()) messages += m + "\n";
        ADD_FAILURE() << record.kind << " " << record.typeName << " does not convert:\n" << messages;
        return {};
    }
    return header;
}

// What the way back is to give for record: the functions in the order the
// class text defines them (helpers, then engine handlers, then event
// handlers, each kind in the record's order); a handler named as a
// registered engine is bound as an engine.
inline CppData Expected(CppData record) {
    const auto rank = [](const CppFunctions& f) {
        return f.functionType == "HELPER" ? 0 : f.functionType == "ENGINE" ? 1 : 2;
    };
    std::stable_sort(record.functions.begin(), record.functions.end(),
                     [&](const CppFunctions& a, const CppFunctions& b) { return rank(a) < rank(b); });
    for (CppFunctions& function : record.functions)
        if (function.functionType == "EVENT" && Engine::_engines.count(function.name) != 0)
            function.functionType = "ENGINE";
    return record;
}

// There and back: the two scripts equal, bodies compared token by token
// (the tokenizer keeps no blanks after "(").
inline void Check(const std::string& folder, const CppData& record) {
    SCOPED_TRACE(record.kind + " " + record.typeName);
    const std::string header = Convert(folder, record);
    if (header.empty()) return;
    CppData back;
    back.kind = record.kind;
    back.typeName = record.typeName;
    ASSERT_TRUE(cppConvert.RevertFile(header, back));
    const CppData expected = Expected(record);
    CppConvertProbe probe{cppConvert};
    for (std::size_t i = 0; i < back.functions.size() && i < expected.functions.size(); ++i)
        if (probe.tokenEquivalent(back.functions[i].code, expected.functions[i].code))
            back.functions[i].code = expected.functions[i].code;
    if (probe.tokenEquivalent(back.differencesText, expected.differencesText))
        back.differencesText = expected.differencesText;
    const std::string there = CppConvert::ScriptText(expected);
    const std::string again = CppConvert::ScriptText(back);
    EXPECT_EQ(there, again) << "difference (- written, + reverted):\n" << Difference(there, again);
}

}  // namespace thereandback
