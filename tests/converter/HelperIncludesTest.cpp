// Function headers read into records; the function list files and the
// helper declaration headers of the working folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Probe.h"
#include "framework/Globals.h"

namespace {

using Arguments = std::vector<std::pair<std::string, std::string>>;

TEST(ReadHeader, Headers) {
    CppConvert converter;
    const struct {
        const char* header;
        const char* returnType;
        const char* name;
        Arguments arguments;
    } cases[] = {
        {"int Add(int a, int b)", "int", "Add", {{"int", "a"}, {"int", "b"}}},
        {"void Tick()", "void", "Tick", {}},
        {"void Tick( )", "void", "Tick", {}},
        {"int Add (int a)", "int", "Add", {{"int", "a"}}},
        {"Reset()", "", "Reset", {}},
        {"float Mix(float a,float b, int c)", "float", "Mix", {{"float", "a"}, {"float", "b"}, {"int", "c"}}},
        {"unsigned int Count()", "unsigned int", "Count", {}},
        {"const char* Name(const char* s, Object* o)", "const char*", "Name", {{"const char*", "s"}, {"Object*", "o"}}},
        // Without "(" or ")": what stands before the end, nothing past it.
        {"int Add", "", "", {}},
        {"int Add(int a", "int", "Add", {}},
        {"int Add(int a, int b", "int", "Add", {{"int", "a"}}},
        {"", "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        CppFunctions record;
        std::string header = c.header;
        converter.ReadHeader(header, &record);
        EXPECT_EQ(record.returnType, c.returnType);
        EXPECT_EQ(record.name, c.name);
        EXPECT_EQ(record.arguments, c.arguments);
    }
}

TEST(BuildFunctionRecord, HandlerAndHelper) {
    const CppFunctions engine = BuildFunctionRecord({}, {"Update", "x = 1;\n", "}\n"}, "ENGINE");
    EXPECT_EQ(engine.name, "Update");
    EXPECT_EQ(engine.returnType, "void");
    EXPECT_EQ(engine.functionType, "ENGINE");
    EXPECT_EQ(engine.arguments, (Arguments{{"Entity*", "self"}, {"Entity*", "other"}}));
    EXPECT_EQ(engine.code, "x = 1;\n}\n");
    EXPECT_EQ(engine.startLine, 0);

    const CppFunctions helper =
        BuildFunctionRecord({"int", " ", "Add", "(", "int", " ", "a", ",", " ", "int", " ", "b", ")"},
                            {"int Add(int a, int b)", "\treturn a + b;\n"}, "HELPER");
    EXPECT_EQ(helper.returnType, "int");
    EXPECT_EQ(helper.name, "Add");
    EXPECT_EQ(helper.arguments, (Arguments{{"int", "a"}, {"int", "b"}}));
    EXPECT_EQ(helper.code, "\treturn a + b;\n");
}

struct WorkingFolder : ConverterInWorkingFolder {
    std::string Read(const std::string& name) {
        std::ifstream in(folder / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream out(folder / name, std::ios::binary);
        out << text;
    }
    bool Exists(const std::string& name) { return std::filesystem::exists(folder / name); }
};

TEST_F(WorkingFolder, FunctionListBlocks) {
    const std::string list = "Function Tools List.h";
    Write(list, "// Functions\nnamespace All\n{\n}\ntrailing text without a line feed");
    probe.AddFunctionHeader("Tools", "Alpha", {"void A()", "int B(int x)"});
    EXPECT_EQ(Read(list),
              "// Functions\nnamespace All\n{\nnamespace Alpha\n{\n\tIMPORT void A();\n\tIMPORT int "
              "B(int x);\n}\n\n}\n");
    // A second call fills the block anew.
    probe.AddFunctionHeader("Tools", "Alpha", {"void C()"});
    EXPECT_EQ(Read(list), "// Functions\nnamespace All\n{\nnamespace Alpha\n{\n\tIMPORT void C();\n}\n\n}\n");
    // An empty list leaves the opening followed by its brace; a later call
    // fills it.
    probe.AddFunctionHeader("Tools", "Alpha", {});
    EXPECT_EQ(Read(list), "// Functions\nnamespace All\n{\nnamespace Alpha\n{\n}\n\n}\n");
    probe.AddFunctionHeader("Tools", "Alpha", {"void D()"});
    EXPECT_EQ(Read(list), "// Functions\nnamespace All\n{\nnamespace Alpha\n{\n\tIMPORT void D();\n}\n\n}\n");
}

TEST_F(WorkingFolder, FunctionListWithoutPlace) {
    probe.AddFunctionHeader("Missing", "Alpha", {"void A()"});
    EXPECT_FALSE(Exists("Function Missing List.h"));
    EXPECT_FALSE(probe.messages().empty());
    Write("Function Bare List.h", "no braces here\n");
    probe.messages().clear();
    probe.AddFunctionHeader("Bare", "Alpha", {"void A()"});
    EXPECT_EQ(Read("Function Bare List.h"), "no braces here\n");
    EXPECT_FALSE(probe.messages().empty());
}

const char* const kHeading = "// one\n// two\n#ifndef X\n#define X\n";
const char* const kAlpha = "\tint(*Alpha_002_002_)(int a, int b);\n";
const char* const kBeta = "\tint(*Beta_002_002_)(int a, int b);\n";
const char* const kGamma = "\tint(*Gamma_002_002_)(int a, int b);\n";

TEST_F(WorkingFolder, HelperPlacedInOrder) {
    Write("ENTITY HelperFunctions.h",
          std::string(kHeading) + kAlpha + "\n" + kGamma + "#endif\nlines after the end go\n");
    EXPECT_TRUE(probe.MakeHelperInclude("int", "Beta", "int a, int b", "(*"));
    EXPECT_EQ(Read("ENTITY HelperFunctions.h"), std::string(kHeading) + kAlpha + "\n" + kBeta + kGamma + "#endif\n");
    EXPECT_EQ(Read("ENTITY TempHelperFunctions.h"), "\tEXPORT int(*Beta_002_002_)(int a, int b);\n");
    EXPECT_EQ(Read("ENTITY Globals.h"), "\n\n\n\n\tint Beta(int a, int b);\n#endif\n");

    // Already declared: no file changes.
    std::filesystem::remove(folder / "ENTITY TempHelperFunctions.h");
    const std::string before = Read("ENTITY HelperFunctions.h");
    EXPECT_TRUE(probe.MakeHelperInclude("int", "Alpha", "int a, int b", "(*"));
    EXPECT_EQ(Read("ENTITY HelperFunctions.h"), before);
    EXPECT_FALSE(Exists("ENTITY TempHelperFunctions.h"));
}

TEST_F(WorkingFolder, MissingHelperFiles) {
    EXPECT_TRUE(probe.MakeHelperInclude("int", "Sum", "int a, int b", "(*"));
    EXPECT_EQ(Read("ENTITY HelperFunctions.h"), "\n\n\n\n\tint(*Sum_002_002_)(int a, int b);\n#endif\n");
    EXPECT_EQ(Read("ENTITY TempHelperFunctions.h"), "\tEXPORT int(*Sum_002_002_)(int a, int b);\n");
    EXPECT_EQ(Read("ENTITY MasterHelperFunctions.h"), "\n\n\n\n\tEXPORT int(*Sum_002_002_)(int a, int b);\n#endif\n");
    EXPECT_EQ(Read("ENTITY Globals.h"), "\n\n\n\n\tint Sum(int a, int b);\n#endif\n");
    // A file without "#endif" gains one empty line from the read that fails.
    Write("ENTITY HelperFunctions.h", std::string(kHeading) + kGamma);
    EXPECT_TRUE(probe.MakeHelperInclude("int", "Zeta", "int a, int b", "(*"));
    EXPECT_EQ(Read("ENTITY HelperFunctions.h"),
              std::string(kHeading) + kGamma + "\n\tint(*Zeta_002_002_)(int a, int b);\n#endif\n");
}

TEST_F(WorkingFolder, TempHelperTwice) {
    probe.MakeTempHelperInclude("int", "Sum", "int a, int b", "(*");
    probe.MakeTempHelperInclude("int", "Sum", "int a, int b", "(*");
    const std::string line = "\tEXPORT int(*Sum_002_002_)(int a, int b);\n";
    EXPECT_EQ(Read("ENTITY TempHelperFunctions.h"), line + line);
    EXPECT_EQ(Read("ENTITY MasterHelperFunctions.h"), "\n\n\n\n" + line + "#endif\n");
    EXPECT_EQ(Read("ENTITY Globals.h"), "\n\n\n\n\tint Sum(int a, int b);\n#endif\n");
}

TEST_F(WorkingFolder, UnwritableHelperFileAnswersFalse) {
    ASSERT_TRUE(CopyPath(Globals.workingDirectory, folder / "no such folder"));
    EXPECT_FALSE(probe.MakeHelperInclude("int", "Sum", "int a, int b", "(*"));
    bool found = false;
    for (const std::string& message : probe.messages())
        found = found || message.find("could not write") != std::string::npos;
    EXPECT_TRUE(found);
}

}  // namespace
