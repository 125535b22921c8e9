// The conversion entries: scripts in, class header and plug-in source out.
// Each golden output stands beside the script that makes it
// (tests/converter/golden/); GF_UPDATE_GOLDEN=1 writes them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Probe.h"
#include "support/EntityWorld.h"

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string GoldenFolder() { return std::string(GF_SOURCE_DIR) + "/tests/converter/golden"; }

struct Conversion : world::EntityWorld {
    CppConvert converter;
    CppConvertProbe probe{converter};
    TempFolder folder;

    std::string Header(const std::string& name) { return Read(folder / (name + ".h")); }
    std::string Source(const std::string& name) { return Read(folder / (name + ".cpp")); }
};

TEST_F(Conversion, GoldenOutputs) {
    world::RegisterEngine("Update");  // "Update" is an engine: its function is commented as bound to one
    const struct {
        const char* kind;
        const char* type;
    } cases[] = {{"Object", "Lamp"}, {"Level", "Meadow"},    {"Game", "Realm"},  {"Engine", "Mover"},
                 {"Object", "Sign"}, {"ExObject", "Switch"}, {"Object", "Child"}};
    const bool update = std::getenv("GF_UPDATE_GOLDEN") != nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string script = GoldenFolder() + "/" + c.type + ".script";
        const std::string header = folder / (std::string(c.type) + ".h");
        const std::string source = folder / (std::string(c.type) + ".cpp");
        EXPECT_TRUE(converter.ConvertKind(c.kind, script, header, source, c.type));
        for (const std::string& message : converter.Messages()) ADD_FAILURE() << message;
        const std::string goldenHeader = GoldenFolder() + "/" + c.type + ".h.golden";
        const std::string goldenSource = GoldenFolder() + "/" + c.type + ".cpp.golden";
        if (update) {
            Write(goldenHeader, Read(header));
            Write(goldenSource, Read(source));
        }
        EXPECT_EQ(Read(header), Read(goldenHeader));
        EXPECT_EQ(Read(source), Read(goldenSource));
        EXPECT_EQ(Read(header).find('\r'), std::string::npos);
    }
}

TEST_F(Conversion, MemberlessObjectText) {
    const std::string script = GoldenFolder() + "/Lamp.script";
    ASSERT_TRUE(converter.ConvertObject(script, folder / "Lamp.h", folder / "Lamp.cpp", "Lamp"));
    const std::string header = Header("Lamp");
    const std::string init =
        "_Init(Object*& object)\n{\n\tBIND(Lamp);\n\n\tobject->_map = _entityOffset_Lamp;\n\t_DATA* _object = "
        "(_DATA*)object;\n\tfor(unsigned i = 0; i < MAX_ENUM_VALUE; ++i)\n\t\t_entityOffset_Lamp[i] = "
        "INT_MIN;\n\n\tobject->_startVar = NULL;\n}\n\n";
    EXPECT_NE(header.find("void " + init + "}\n}\n"), std::string::npos);
    EXPECT_NE(Source("Lamp").find("void __declspec(dllexport) " + init + "}\n}\n"), std::string::npos);
    EXPECT_NE(header.find("namespace ObjectData\n{\nnamespace Lamp\n{\n\nint _entityOffset_Lamp[MAX_ENUM_VALUE];\n"),
              std::string::npos);
    EXPECT_NE(header.find("(sizeof(*this)) {}\n\n};\n\n"), std::string::npos);
    EXPECT_EQ(header.find("// Variables"), std::string::npos);
    EXPECT_EQ(header.find("// Engines"), std::string::npos);
    EXPECT_EQ(header.find("// Objects"), std::string::npos);
    // Both texts open with the same notice line; the source follows it with
    // an empty line.
    const std::string notice = header.substr(0, header.find('\n') + 1);
    EXPECT_EQ(notice.rfind("//", 0), 0u);
    EXPECT_EQ(Source("Lamp").rfind(notice + "\n//This file is a temporary file made to make the DLL\n", 0), 0u);
}

TEST_F(Conversion, KindTexts) {
    const std::string script = GoldenFolder() + "/Lamp.script";
    const struct {
        const char* kind;
        const char* classWord;  // null: refused
    } cases[] = {{"OBJECT", "Object"},   {"Object", "Object"},  {"ENGINE", "Engine"}, {"Engine", "Engine"},
                 {"LEVEL", "Level"},     {"Level", "Level"},    {"GAME", "Game"},     {"Game", "Game"},
                 {"EXOBJECT", nullptr},  {"object", nullptr},   {"", nullptr},        {"Objects", nullptr},
                 {"ExObjects", nullptr}, {"EXOBJECTS", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        std::filesystem::remove(folder / "K.h");
        const bool ok = converter.ConvertKind(c.kind, script, folder / "K.h", folder / "K.cpp", "Lamp");
        if (std::string(c.kind) == "EXOBJECT") {
            EXPECT_TRUE(ok);  // the extended object of the editor's spelling
            EXPECT_NE(Header("K").find("namespace ExObjectData\n"), std::string::npos);
            continue;
        }
        EXPECT_EQ(ok, c.classWord != nullptr);
        if (c.classWord == nullptr) {
            EXPECT_FALSE(std::filesystem::exists(folder / "K.h"));
            EXPECT_FALSE(converter.Messages().empty());
        } else {
            EXPECT_NE(Header("K").find(std::string("namespace ") + c.classWord + "Data\n"), std::string::npos);
        }
    }
}

TEST_F(Conversion, BadScriptsAnswerFalseWithTheirMessage) {
    const struct {
        const char* name;
        const char* text;  // null: no such file
        const char* typeName;
        bool writesNothing;
        const char* message;
    } cases[] = {
        {"unreadable", nullptr, "Thing", true, "cannot be read"},
        {"comment", "#Variables\n{\n}\n/* never closed\n\nLoad\n{\n}\n", "Thing", true, "'/*'"},
        {"brace", "#Variables\n{\n}\n// Function bound to event\nLoad\n{\n\tself->x = 1;\n", "Thing", true,
         "closing '}'"},
        {"header", "#Variables\n{\n}\nLoad\n", "Thing", true, "no '{'"},
        {"lhs", "#Variables\n{\n\t= 5;\n}\n", "Thing", true, "No LHS found on an [=] operation."},
        {"parameter", "#Variables\n{\n}\n// Helper function\nvoid Push(Widget w)\n{\n}\n", "Thing", false,
         "parameter type [Widget]"},
        {"slash", "#Variables\n{\n}\n", "../Thing", true, "not an identifier"},
        {"long", "#Variables\n{\n}\n", "T123456789012345678901234567890123456789012345678901234567890123456", true,
         "not an identifier"},
        {"stray", "int x;\n", "Thing", true, "statement outside any section"},
        {"untyped", "#Variables\n{\n\tx = 5;\n}\n", "Thing", true, "has no type"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string script = folder / (std::string(c.name) + ".script");
        if (c.text != nullptr) Write(script, c.text);
        const std::string header = folder / (std::string(c.name) + ".h");
        const std::string source = folder / (std::string(c.name) + ".cpp");
        EXPECT_FALSE(converter.ConvertObject(script, header, source, c.typeName));
        bool found = false;
        for (const std::string& message : converter.Messages())
            found = found || message.find(c.message) != std::string::npos;
        EXPECT_TRUE(found) << (converter.Messages().empty() ? "no message" : converter.Messages().front());
        if (c.writesNothing) {
            EXPECT_FALSE(std::filesystem::exists(header));
            EXPECT_FALSE(std::filesystem::exists(source));
        } else {
            // A scan error still writes both files whole.
            EXPECT_NE(Read(header).find("}\n}\n"), std::string::npos);
            EXPECT_NE(Read(source).find("}\n}\n"), std::string::npos);
        }
    }
    // Nothing was written outside the folder by the type name with "/".
    EXPECT_FALSE(std::filesystem::exists(folder / "../Thing.h"));
}

TEST_F(Conversion, ScanErrorStillWritesBothFiles) {
    Write(folder / "E.script", "#Variables\n{\n}\n#Engines\n{\n\tCamera:\n}\n");
    EXPECT_FALSE(converter.ConvertEngine(folder / "E.script", folder / "E.h", folder / "E.cpp", "E"));
    EXPECT_NE(Header("E").find("ENGINE(Camera, );"), std::string::npos);
    EXPECT_NE(Source("E").find("\tBIND(E);"), std::string::npos);
}

TEST_F(Conversion, UnwritableFileAnswersFalse) {
    const std::string script = GoldenFolder() + "/Lamp.script";
    EXPECT_FALSE(converter.ConvertObject(script, folder / "no folder/Lamp.h", folder / "Lamp.cpp", "Lamp"));
    ASSERT_FALSE(converter.Messages().empty());
    EXPECT_NE(converter.Messages().back().find("could not write"), std::string::npos);
    EXPECT_FALSE(converter.ConvertObject(script, folder / "Lamp.h", folder / "no folder/Lamp.cpp", "Lamp"));
    // Each file is whole or absent: no temporary left beside it.
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_TRUE(entry.path().filename() == "Lamp.h" || entry.path().filename() == "Lamp.cpp") << entry.path();
}

TEST_F(Conversion, MissingParentAnswersFalse) {
    Write(folder / "Orphan.script", "//INHERIT From: Nobody\n#Variables\n{\n}\n");
    EXPECT_FALSE(converter.ConvertObject(folder / "Orphan.script", folder / "O.h", folder / "O.cpp", "Orphan"));
    ASSERT_FALSE(converter.Messages().empty());
    EXPECT_NE(converter.Messages().back().find("[Nobody]"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "O.h"));
}

TEST_F(Conversion, ScriptReadsBackAsTheSameRecord) {
    CppData record;
    record.varNames = {"speed", "slots", "title", "count"};
    record.varTypes = {"float", "int[8]", "std::string", "unsigned int"};
    record.varValues = {"2.5", "", "\"a; b\"", "Vec2(1, 2).x"};
    record.globalsText = "\nObject* target;\n";
    record.enginesText = "\n\tCamera: 1\n";
    record.objectsText = "\n\tCrate: box\n";
    record.differencesText = "\n\tself->on = false;\n";
    record.baseType = "Crate";
    record.inheritFrom = "Base";
    record.inheritTo = {"Child", "Other"};
    CppFunctions helper;
    helper.functionType = "HELPER";
    helper.returnType = "unsigned int";
    helper.name = "Sum";
    helper.arguments = {{"int", "a"}, {"const char*", "b"}};
    helper.code = "\n\t// a comment { with a brace\n\treturn a + \"}\"[0];\n";
    CppFunctions engine;
    engine.functionType = "ENGINE";
    engine.name = "Update";
    engine.code = "\n\tif (self->x) { self->y = 1; }\n";
    CppFunctions event;
    event.functionType = "EVENT";
    event.name = "Load";
    CppFunctions noArguments;
    noArguments.functionType = "HELPER";
    noArguments.returnType = "void";
    noArguments.name = "Tick";
    record.functions = {helper, engine, event, noArguments};

    ASSERT_TRUE(converter.WriteScript(folder / "R.script", record));
    CppData read;
    ASSERT_TRUE(converter.ReadScript(folder / "R.script", read)) << converter.Messages().back();
    for (CppFunctions& f : read.functions) f.startLine = 0;
    EXPECT_EQ(read.varNames, record.varNames);
    EXPECT_EQ(read.varTypes, record.varTypes);
    EXPECT_EQ(read.varValues, record.varValues);
    EXPECT_EQ(read.globalsText, record.globalsText);
    EXPECT_EQ(read.enginesText, record.enginesText);
    EXPECT_EQ(read.objectsText, record.objectsText);
    EXPECT_EQ(read.differencesText, record.differencesText);
    EXPECT_EQ(read.baseType, record.baseType);
    EXPECT_EQ(read.inheritFrom, record.inheritFrom);
    EXPECT_EQ(read.inheritTo, record.inheritTo);
    ASSERT_EQ(read.functions.size(), record.functions.size());
    for (std::size_t i = 0; i < read.functions.size(); ++i) {
        SCOPED_TRACE(record.functions[i].name);
        EXPECT_EQ(read.functions[i].functionType, record.functions[i].functionType);
        EXPECT_EQ(read.functions[i].returnType, record.functions[i].returnType);
        EXPECT_EQ(read.functions[i].name, record.functions[i].name);
        EXPECT_EQ(read.functions[i].arguments, record.functions[i].arguments);
        EXPECT_EQ(read.functions[i].code, record.functions[i].code);
    }
    // A function's start line is where its body starts in the script.
    CppData again;
    ASSERT_TRUE(converter.ReadScript(folder / "R.script", again));
    std::istringstream text(CppConvert::ScriptText(record));
    int number = 0;
    int loadLine = 0;
    for (std::string line; std::getline(text, line);) {
        ++number;
        if (line == "Load") loadLine = number;
    }
    EXPECT_EQ(again.functions[2].startLine, loadLine + 1);
}

// An array variable of an extended object keeps its element count through
// the generated text: reverted, the record is as it was written, and
// converted again its indexed use still reaches an element of the array.
TEST_F(Conversion, AnExtendedObjectsArrayKeepsItsCountThereAndBack) {
    CppData record;
    record.kind = "ExObject";
    record.typeName = "Rack";
    record.baseType = "Crate";
    record.varTypes = {"int[4]", "float", "std::string[2]"};
    record.varNames = {"slots", "weight", "labels"};
    record.varValues = {"", "2.5", ""};
    record.differencesText = "\n\treturn;\n";
    CppFunctions load;
    load.functionType = "EVENT";
    load.returnType = "void";
    load.name = "Load";
    load.code = "\n\tself->slots[1] = 3;\n";
    record.functions = {load};

    CppData written = record;
    for (const char* name : {"Rack", "Again"}) {
        SCOPED_TRACE(name);
        probe.convertOk() = true;
        ASSERT_TRUE(converter.WriteScript(folder / (std::string(name) + ".script"), written));
        ASSERT_TRUE(converter.ConvertKind("ExObject", folder / (std::string(name) + ".script"),
                                          folder / (std::string(name) + ".h"), folder / (std::string(name) + ".cpp"),
                                          "Rack"));
        EXPECT_NE(Source(name).find("GETVARIABLEP(self, int *, slots)[1] = 3;"), std::string::npos) << Source(name);
        CppData back;
        back.kind = "ExObject";
        back.typeName = "Rack";
        ASSERT_TRUE(converter.RevertFile(folder / (std::string(name) + ".h"), back));
        EXPECT_EQ(back.varTypes, record.varTypes);
        EXPECT_EQ(back.varNames, record.varNames);
        EXPECT_EQ(back.varValues, record.varValues);
        written = back;
    }
}

TEST_F(Conversion, ScanFileForVariablesRecordsTheStencil) {
    CppData record;
    record.typeName = "Lamp";
    record.varNames = {"glow", "beams"};
    record.varTypes = {"float", "int[4]"};
    converter.ScanFileForVariables(record);
    EXPECT_TRUE(probe.convertOk());
    EXPECT_EQ(converter.GetVarList("Lamp"), (std::set<std::string>{"beams", "glow"}));
    EXPECT_EQ(converter.GetVarType("glow"), "float");
    EXPECT_EQ(converter.GetVarType("beams"), "int *");
    record.varNames.push_back("third");
    converter.ScanFileForVariables(record);
    EXPECT_FALSE(probe.convertOk());
    EXPECT_EQ(probe.typeNameText(), "Lamp");
}

}  // namespace
