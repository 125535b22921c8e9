// The converter object's text utilities and its records.
#include <gtest/gtest.h>

#include "Probe.h"

namespace {

struct TextUtilities : ::testing::Test {
    CppConvert converter;
    CppConvertProbe probe{converter};
    TempFolder folder;
};

TEST(CppRecords, CopyIsDeepAndIndependent) {
    CppData source;
    source.kind = "OBJECT";
    source.varNames = {"a"};
    CppFunctions f;
    f.name = "Update";
    f.arguments = {{"int", "count"}, {"float", "scale"}};
    f.startLine = 7;
    source.functions = {f, f};

    CppData copy = source;
    copy.functions[0].arguments[0].first = "double";
    copy.functions[1].name = "Other";
    copy.varNames[0] = "b";
    EXPECT_EQ(source.functions[0].arguments[0].first, "int");
    EXPECT_EQ(source.functions[1].name, "Update");
    EXPECT_EQ(source.varNames[0], "a");
    EXPECT_EQ(copy.functions[0].startLine, 7);
    EXPECT_EQ(CppFunctions{}.startLine, 0);
}

TEST(CppConvertObject, EntityTypesEndInNull) {
    const char* const expected[] = {"Entity", "Game", "Level", "Engine", "Object"};
    for (int i = 0; i < 5; ++i) EXPECT_STREQ(CppConvert::entityTypes[i], expected[i]);
    EXPECT_EQ(CppConvert::entityTypes[5], nullptr);
}

TEST(CppConvertObject, RevertFileOfAMissingFileFailsAndRevertArgListDoesNothing) {
    CppConvert converter;
    CppData data;
    EXPECT_FALSE(converter.RevertFile("no such file", data));
    EXPECT_EQ(CppConvertProbe::RevertArgList("_002_"), "bar");
}

TEST(TextUtilitiesStatic, IsCommentClassifiesTheSixLines) {
    const struct {
        const char* line;
        int expected;
    } cases[] = {
        {"// a remark", 1},
        {"x = 1; // a remark", 2},
        {"/* opens */ x = 1;", 3},
        {"x = 1; /* closes */", 2},
        {"x = 1;", 0},
        {"//", 1},
        {"   ;// ;", 1},
        {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CppConvertProbe::IsComment(c.line), c.expected) << c.line;
}

TEST(TextUtilitiesStatic, CharacterClasses) {
    EXPECT_EQ(CppConvertProbe::CharToUpper('a'), 'A');
    EXPECT_EQ(CppConvertProbe::CharToUpper('z'), 'Z');
    EXPECT_EQ(CppConvertProbe::CharToUpper('Q'), 'Q');
    EXPECT_EQ(CppConvertProbe::CharToUpper('_'), '_');
    EXPECT_EQ(CppConvertProbe::CharToUpper('7'), '7');
    EXPECT_EQ(CppConvertProbe::CharToUpper('{'), '{');
    for (char c : std::string("09AZaz_")) EXPECT_TRUE(CppConvertProbe::IsChar(c)) << c;
    for (char c : std::string(" .:-{\n")) EXPECT_FALSE(CppConvertProbe::IsChar(c)) << c;
    EXPECT_TRUE(CppConvertProbe::IsEmptyLine(""));
    EXPECT_TRUE(CppConvertProbe::IsEmptyLine(" \t\n"));
    EXPECT_FALSE(CppConvertProbe::IsEmptyLine("  x\n"));
}

TEST(TextUtilitiesStatic, StandardfyString) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {" x  + 1", " x+ 1"},
        {"   \t\n ", ""},
        {"", ""},
        {"unsigned   int", "unsigned int"},
        {"std::string\n", "std::string"},
        {"a , b", "a, b"},
    };
    for (const auto& c : cases) EXPECT_EQ(CppConvertProbe::StandardfyString(c.in), c.out) << '"' << c.in << '"';
}

TEST_F(TextUtilities, TokenEquivalentIgnoresTheBlanksBetweenTokens) {
    EXPECT_TRUE(probe.tokenEquivalent("", ""));
    EXPECT_TRUE(probe.tokenEquivalent("a+=b", "a += b\n"));
    EXPECT_TRUE(probe.tokenEquivalent("}\n", "}"));
    EXPECT_TRUE(probe.tokenEquivalent("  {\n", "{"));
    EXPECT_TRUE(probe.tokenEquivalent("std::vector<int>", "std::vector< int >"));
    EXPECT_FALSE(probe.tokenEquivalent("a+=b", "a+b"));
    EXPECT_FALSE(probe.tokenEquivalent("a b", "ab"));
    EXPECT_FALSE(probe.tokenEquivalent("x", ""));
    EXPECT_FALSE(probe.tokenEquivalent("Vec2", "Vec3"));
}

TEST_F(TextUtilities, TokenEquivalentLeavesTheConverterAsItWas) {
    probe.tokens() = {"kept"};
    EXPECT_FALSE(probe.tokenEquivalent("/* never closed", "}"));
    EXPECT_TRUE(probe.convertOk());
    EXPECT_TRUE(probe.messages().empty());
    EXPECT_EQ(probe.tokens(), std::vector<std::string>{"kept"});
}

TEST_F(TextUtilities, TrueGetLineEndsEveryLineInOneLineFeed) {
    probe.Open(folder, "\nfirst\r\nsecond\nlast");
    EXPECT_EQ(probe.TrueGetLine(), "\n");
    EXPECT_EQ(probe.lineNumber(), 1);
    EXPECT_EQ(probe.TrueGetLine(), "first\n");
    EXPECT_EQ(probe.TrueGetLine(), "second\n");
    EXPECT_EQ(probe.TrueGetLine(), "last\n");
    EXPECT_FALSE(probe.inputFailed());
    EXPECT_EQ(probe.TrueGetLine(), "\n");
    EXPECT_TRUE(probe.inputFailed());
    EXPECT_EQ(probe.lineNumber(), 5);
    EXPECT_TRUE(probe.convertOk());
}

TEST_F(TextUtilities, TrueGetLineRefusesALineOverTheLimit) {
    const std::string exact(524287, 'a');
    probe.Open(folder, exact + "\n" + std::string(524288, 'b') + "\nnext\n");
    EXPECT_EQ(probe.TrueGetLine(), exact + "\n");
    EXPECT_TRUE(probe.convertOk());
    EXPECT_EQ(probe.TrueGetLine(), "\n");
    EXPECT_TRUE(probe.inputFailed());
    EXPECT_FALSE(probe.convertOk());
    ASSERT_EQ(probe.messages().size(), 1u);
    EXPECT_NE(probe.messages()[0].find("CppConvert ERROR Line[2]"), std::string::npos);
}

TEST_F(TextUtilities, AdvanceTill) {
    probe.Open(folder, "\n   \n  x = 1;\n// marker here\nint marker;\n");
    std::string line;
    EXPECT_EQ(probe.AdvanceTill(line, ""), 2u);
    EXPECT_EQ(line, "  x = 1;\n");
    EXPECT_EQ(probe.AdvanceTill(line, "marker"), 4u);  // the comment line is passed over
    EXPECT_EQ(line, "int marker;\n");
    EXPECT_EQ(probe.AdvanceTill(line, "marker"), 0u);
}

TEST_F(TextUtilities, AdvanceIterWithoutMarkerStopsOnRealTokensAndInheritedMarkers) {
    auto& lines = probe.lines();
    lines = {"start", "\n  ", "// remark\n", "/* c */", "x", " ", "//INHERITED\n", "y"};
    auto at = lines.begin();
    probe.scopeLine() = 0;
    ASSERT_TRUE(probe.AdvanceIter(at, true, ""));
    EXPECT_EQ(*at, "x");
    EXPECT_EQ(probe.scopeLine(), 2);  // the breaks of "\n  " and "// remark\n"
    ASSERT_TRUE(probe.AdvanceIter(at, true, ""));
    EXPECT_EQ(*at, "//INHERITED\n");
    ASSERT_TRUE(probe.AdvanceIter(at, true, ""));
    EXPECT_EQ(*at, "y");
    EXPECT_FALSE(probe.AdvanceIter(at, true, ""));
    EXPECT_TRUE(at == lines.end());
    EXPECT_FALSE(probe.AdvanceIter(at, true, ""));
}

TEST_F(TextUtilities, AdvanceIterWithMarkerStepsPastTheHit) {
    auto& lines = probe.lines();
    lines = {"a", "\n", "b//END INHERITED\n", "c"};
    auto at = lines.begin();
    probe.scopeLine() = 0;
    ASSERT_TRUE(probe.AdvanceIter(at, true, "//END INHERITED"));
    EXPECT_EQ(*at, "c");
    EXPECT_EQ(probe.scopeLine(), 2);
    at = lines.begin();
    EXPECT_FALSE(probe.AdvanceIter(at, false, "missing"));
    EXPECT_TRUE(at == lines.end());
}

}  // namespace
