// The script tokenizer: text mode, file mode, scope names and parameter codes.
#include <gtest/gtest.h>

#include "Probe.h"

namespace {

using Tokens = std::vector<std::string>;

struct Tokenizer : ::testing::Test {
    CppConvert converter;
    CppConvertProbe probe{converter};
    TempFolder folder;

    Tokens TextIntoList(const std::string& text) {
        int kind = 0;
        EXPECT_EQ(probe.TokenizeScope(kind, text, true), 1);
        return Tokens(probe.lines().begin(), probe.lines().end());
    }
    Tokens TextIntoSequence(const std::string& text) {
        int kind = 0;
        EXPECT_EQ(probe.TokenizeScope(kind, text, false), 1);
        return probe.tokens();
    }
    Tokens List() { return Tokens(probe.lines().begin(), probe.lines().end()); }
};

TEST_F(Tokenizer, TextModeTokens) {
    const struct {
        const char* text;
        Tokens expected;
    } cases[] = {
        {"a+=b", {"a", "+=", "b"}},
        {"a = = b", {"a", " ", "=", " ", "=", " ", "b"}},
        {"x==y", {"x", "==", "y"}},
        {"x!=y", {"x", "!=", "y"}},
        {"self ->position", {"self", " ", "->", "position"}},
        {"self->position.x = 1;", {"self->position.x", " ", "=", " ", "1", ";"}},
        {"s = \"a;b\";", {"s", " ", "=", " ", "\"a;b\"", ";"}},
        {"c = '{'; d", {"c", " ", "=", " ", "'{'", ";", " ", "d"}},
        {"f( a, b )", {"f", "(", "a", ",", " ", "b", " ", ")"}},
        {"x; } y", {"x", ";", " "}},
        {"i++ && j-- || k", {"i", "++", " ", "&&", " ", "j", "--", " ", "||", " ", "k"}},
        {"p->q", {"p->q"}},
        {"= x", {" ", "x"}},
        {"std::string s = 3.5f;", {"std::string", " ", "s", " ", "=", " ", "3.5f", ";"}},
        {"a /* c } */ b", {"a", " ", "/* c } */", " ", "b"}},
        {"a // c }\nb", {"a", " ", "// c }", "\n", "b"}},
        {"if (a) { b; }\nc", {"if", " ", "(", "a", ")", " ", "{", " ", "b", ";", " ", "}", "\n", "c"}},
        {"\"open", {"\"open"}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextIntoList(c.text), c.expected) << c.text;
}

TEST_F(Tokenizer, TextModeIntoTheSequenceKeepsTheClosingBraceAndTheList) {
    probe.lines() = {"untouched"};
    EXPECT_EQ(TextIntoSequence("x; } y"), (Tokens{"x", ";", " ", "}"}));
    EXPECT_EQ(List(), Tokens{"untouched"});
    EXPECT_EQ(TextIntoSequence("a\n  b"), (Tokens{"a", "\n  ", "b"}));
}

TEST_F(Tokenizer, TextModeUnclosedBlockCommentRunsToTheEndOfTheText) {
    probe.Open(folder, "*/ must not be read\n");
    EXPECT_EQ(TextIntoList("a /* open\nstill open"), (Tokens{"a", " ", "/* open\nstill open"}));
    EXPECT_FALSE(probe.convertOk());
    ASSERT_EQ(probe.messages().size(), 1u);
    EXPECT_NE(probe.messages()[0].find("CppConvert ERROR"), std::string::npos);
    EXPECT_EQ(probe.lineNumber(), 0);  // nothing was read from the input

    probe.convertOk() = true;
    EXPECT_EQ(TextIntoList("a /* spans\nlines */ b"), (Tokens{"a", " ", "/* spans\nlines */", " ", "b"}));
    EXPECT_TRUE(probe.convertOk());
}

TEST_F(Tokenizer, DefaultTokenize) {
    std::string line = "word.x:y+1";
    EXPECT_EQ(probe.DefaultTokenize(line, 0, true), 8u);
    EXPECT_EQ(probe.DefaultTokenize(line, 8, true), 9u);
    EXPECT_EQ(probe.DefaultTokenize(line, 9, true), std::string::npos);
    EXPECT_EQ(List(), (Tokens{"word.x:y", "+", "1"}));
    std::string feed = "\n";
    EXPECT_EQ(probe.DefaultTokenize(feed, 0, true), 1u);
    EXPECT_EQ(List().size(), 3u);
}

TEST_F(Tokenizer, InterpretScopeNameOfTheSections) {
    const struct {
        const char* header;
        int code;
        const char* after;
    } cases[] = {
        {"#Variables\n", 1, "#Variables\n"}, {"#Differences", 2, "#Differences"},
        {"  #Engines\n", 3, "  #Engines\n"}, {"#Objects", 4, "#Objects"},
        {"#Globals\n", 5, "#Globals\n"},     {"void f()\n", 0, "void f()"},
        {"void g()\n\n", 0, "void g()\n"},   {"", 0, ""},
    };
    for (const auto& c : cases) {
        std::string header = c.header;
        EXPECT_EQ(CppConvertProbe::InterpretScopeName(header), c.code) << c.header;
        EXPECT_EQ(header, c.after);
    }
}

TEST_F(Tokenizer, ConvertArgList) {
    const struct {
        const char* parameters;
        const char* code;
        bool ok;
    } cases[] = {
        {"Entity* self, Entity* other", "_006P_006P_", true},
        {"int count, float scale", "_002_003_", true},
        {"void", "_005_", true},
        {"", "_", true},
        {"double& d", "_004A_", true},
        {"std::vector<int>& list", "_007A_", true},
        {"const Entity* e", "_C006P_", true},
        {"char c2", "_000_", true},
        {"int", "_000_", false},
        {"int my_value", "_002000_", false},
        {"Widget* w", "_000P_", false},
        {"1, 2", "_000_000_", false},
    };
    for (const auto& c : cases) {
        probe.convertOk() = true;
        EXPECT_EQ(probe.ConvertArgList(c.parameters), c.code) << c.parameters;
        EXPECT_EQ(probe.convertOk(), c.ok) << c.parameters;
    }
}

// File mode: one scope (or one statement line) per call.
struct FileMode : Tokenizer {
    int Next(int& kind) { return probe.TokenizeScope(kind, "", false); }
    int Next() {
        int kind = 0;
        return Next(kind);
    }
};

TEST_F(FileMode, KindCommentsSetTheFunctionKind) {
    probe.Open(folder,
               "// Function bound to event \"Load\"\nvoid Load(Entity* self, Entity* other) {\n}\n"
               "// Function bound to engine \"Update\"\nvoid Update(Entity* self, Entity* other)\n{\n}\n"
               "// Helper function\nint Twice(int x) {\n  return x * 2;\n}\n"
               "// something else\nvoid Plain() {\n}\n");
    const int expected[] = {2, 3, 4, 0};
    for (int want : expected) {
        int kind = 1;
        EXPECT_EQ(Next(kind), 0);
        EXPECT_EQ(kind, want);
    }
    int kind = 1;
    EXPECT_EQ(Next(kind), -1);
    EXPECT_TRUE(probe.convertOk());
    EXPECT_TRUE(probe.messages().empty());
}

TEST_F(FileMode, KindStaysUntouchedWhenZero) {
    probe.Open(folder, "// Helper function\nvoid f() {\n}\n");
    int kind = 0;
    EXPECT_EQ(Next(kind), 0);
    EXPECT_EQ(kind, 0);
}

TEST_F(FileMode, SectionWithItsBraceOnTheNextLine) {
    probe.Open(folder, "#Variables\n{\n\tint x = 5;\n}\n");
    EXPECT_EQ(Next(), 1);
    EXPECT_EQ(List(), (Tokens{"#Variables\n", "\n\t", "int", " ", "x", " ", "=", " ", "5", ";", "\n"}));
    EXPECT_EQ(probe.baseLine(), 3);
}

TEST_F(FileMode, HeaderOverTwoLinesIsOneToken) {
    probe.Open(folder, "void Move(Entity* self,\n          Entity* other)\n{\n  x++;\n}\n");
    EXPECT_EQ(Next(), 0);
    const Tokens list = List();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0], "void Move(Entity* self,\n          Entity* other)");
    EXPECT_EQ(Tokens(list.begin() + 1, list.end()), (Tokens{"\n  ", "x", "++", ";", "\n"}));
}

TEST_F(FileMode, StatementLineIsPushedWhole) {
    probe.Open(folder, "\nint x;\nvoid f() { a; }\nvoid g() {\n}\n");
    EXPECT_EQ(Next(), -1);
    EXPECT_EQ(List(), Tokens{"int x;\n"});
    // A header line that holds ";" is a statement line as well.
    EXPECT_EQ(Next(), -1);
    EXPECT_EQ(List(), Tokens{"void f() { a; }\n"});
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(List(), (Tokens{"void g() ", "\n"}));
}

TEST_F(FileMode, OneLineScopeDoesNotSwallowTheNextLine) {
    probe.Open(folder, "void f() { }\nvoid g() {\n}\n");
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(List(), (Tokens{"void f() ", " "}));
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(List().front(), "void g() ");
}

TEST_F(FileMode, LoneBracesAreErrorsAndSkipped) {
    probe.Open(folder, "}\n  {\nvoid f() {\n}\n");
    EXPECT_EQ(Next(), 0);
    EXPECT_FALSE(probe.convertOk());
    EXPECT_EQ(probe.messages().size(), 2u);
    EXPECT_EQ(List().front(), "void f() ");
}

TEST_F(FileMode, NamespaceWrapperAroundTwoScopes) {
    probe.Open(folder,
               "#include \"ENTITY HelperFunctions.h\"\n"
               "namespace EntityData_Thing\n{\n"
               "// Function bound to engine \"Update\"\nvoid Update(Entity* self, Entity* other) {\n  a = 1;\n}\n"
               "extern \"C\" {\n"
               "void Other() {\n  b;\n}\n"
               "}\n"
               "} // namespace\n");
    int kind = 1;
    EXPECT_EQ(Next(kind), 0);
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(List().front(), "void Update(Entity* self, Entity* other) ");
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(List().front(), "void Other() ");
    EXPECT_EQ(Next(), -1);
    EXPECT_TRUE(probe.convertOk());
    EXPECT_TRUE(probe.messages().empty());
}

TEST_F(FileMode, CommentsAroundScopes) {
    probe.Open(folder, "/* a\n block */ void f() {\n  x; /* in\n  body */ y;\n  // line }\n}\n");
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(List(),
              (Tokens{" void f() ", "\n  ", "x", ";", " ", "/* in\n  body */", " ", "y", ";", "\n  ", "// line }\n"}));
    EXPECT_TRUE(probe.convertOk());
}

TEST_F(FileMode, SkipsInheritedBlocksWhenAsked) {
    probe.Open(folder,
               "//INHERITED\nvoid Old() {\n}\n//END INHERITED\nvoid New() {\n  a;\n"
               "  //INHERITED\n  b;\n  //END INHERITED\n  c;\n}\n");
    probe.skipInherited() = true;
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(List(), (Tokens{"void New() ", "\n  ", "a", ";", "\n  ", "c", ";", "\n"}));
    EXPECT_TRUE(probe.convertOk());
}

TEST_F(FileMode, CrLfScriptReadsAsLf) {
    probe.Open(folder, "#Globals\r\n{\r\n  int g;\r\n}\r\n");
    EXPECT_EQ(Next(), 5);
    EXPECT_EQ(List(), (Tokens{"#Globals\n", "\n  ", "int", " ", "g", ";", "\n"}));
    EXPECT_TRUE(probe.convertOk());
}

// Every bad input ends the call; errors clear the flag and leave a message.
TEST_F(FileMode, BadInputEndsAndReports) {
    const struct {
        const char* name;
        std::string text;
        int result;
        bool ok;
    } cases[] = {
        {"empty file", "", -1, true},
        {"blank lines only", "\n\n  \n", -1, true},
        {"unclosed comment outside a scope", "/* never\nclosed\n", -1, false},
        {"unclosed comment in a body", "void f() {\n /* never\n closed\n", -1, false},
        {"end of file inside a body", "void f() {\n  x;\n", -1, false},
        {"end of file inside a nested body", "void f() {\n  if (a) {\n", -1, false},
        {"header without a brace", "void f()\n", -1, false},
        {"line over the limit in a body", "void f() {\n" + std::string(600000, 'x') + "\n}\n", -1, false},
    };
    for (const auto& c : cases) {
        CppConvert fresh;
        CppConvertProbe p{fresh};
        p.Open(folder, c.text, "bad.txt");
        int kind = 1;
        EXPECT_EQ(p.TokenizeScope(kind, "", false), c.result) << c.name;
        EXPECT_EQ(p.convertOk(), c.ok) << c.name;
        EXPECT_EQ(p.messages().empty(), c.ok) << c.name;
        // A further call at the end of the input ends at once.
        EXPECT_EQ(p.TokenizeScope(kind, "", false), -1) << c.name;
    }
}

TEST_F(FileMode, EndOfFileInsideABodyKeepsWhatWasRead) {
    probe.Open(folder, "void f() {\n  x;\n");
    EXPECT_EQ(Next(), -1);
    EXPECT_EQ(List(), (Tokens{"void f() ", "\n  ", "x", ";", "\n"}));
    ASSERT_EQ(probe.messages().size(), 1u);
    EXPECT_NE(probe.messages()[0].find("In function void f() , file ends before closing '}' is found."),
              std::string::npos);
}

TEST_F(FileMode, UnclosedInheritedBlockEnds) {
    probe.Open(folder, "//INHERITED\nvoid Old() {\n}\n");
    probe.skipInherited() = true;
    EXPECT_EQ(Next(), -1);
    EXPECT_FALSE(probe.convertOk());
    EXPECT_EQ(probe.messages().size(), 1u);
}

}  // namespace
