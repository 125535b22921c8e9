// The way back from a generated class header to a stencil record.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "Probe.h"
#include "support/EntityWorld.h"

namespace {

// An engines or objects text as its entries, whitespace and a closing ":"
// left out ("Camera :\t\t1\n\t" and "\n\tCamera: 1\n" are both "Camera:1").
std::vector<std::string> Entries(const std::string& text) {
    std::vector<std::string> entries;
    std::string entry;
    auto flush = [&] {
        if (!entry.empty() && entry.back() == ':') entry.pop_back();
        if (!entry.empty()) entries.push_back(entry);
        entry.clear();
    };
    for (char c : text) {
        if (c == '\n')
            flush();
        else if (c != ' ' && c != '\t')
            entry += c;
    }
    flush();
    return entries;
}

std::string GoldenFolder() { return std::string(GF_SOURCE_DIR) + "/tests/converter/golden"; }

struct Revert : world::EntityWorld {
    CppConvert converter;
    CppConvertProbe probe{converter};
    TempFolder folder;

    // Reverts text as a header of the given kind.
    CppData RevertText(const std::string& text, const std::string& kind = "OBJECT") {
        const std::string path = folder / "header.h";
        {
            std::ofstream out(path, std::ios::binary);
            out << text;
        }
        CppData data;
        data.kind = kind;
        EXPECT_TRUE(converter.RevertFile(path, data));
        return data;
    }
};

TEST_F(Revert, StatementLinesAreGlobalsUnlessTheyDeclareAFunction) {
    const CppData data = RevertText("int counter = 0;\nvoid Helper();\nextern float scale;\n");
    EXPECT_EQ(data.globalsText, "int counter = 0;\nextern float scale;\n");
    EXPECT_TRUE(data.functions.empty());
}

TEST_F(Revert, AnEventComesBackWithItsAccessesTurnedBack) {
    const CppData data = RevertText(
        "\t// Function bound to event \"OnHit\"\nvoid OnHit(Entity* self, Entity* other)\n{\n"
        "\tGETVARIABLE(self, int, hits) += 1;\n}\n");
    ASSERT_EQ(data.functions.size(), 1u);
    const CppFunctions& f = data.functions[0];
    EXPECT_EQ(f.name, "OnHit");
    EXPECT_EQ(f.functionType, "EVENT");
    EXPECT_EQ(f.returnType, "void");
    EXPECT_EQ(f.arguments.size(), 2u);
    EXPECT_EQ(f.code, "\n\tself->hits += 1;\n");
}

TEST_F(Revert, ANestedAccessBecomesOneElement) {
    probe.lines() = {"x", " ", "=", " "};
    int kind = 0;
    probe.TokenizeScope(kind, "GETVARIABLE(GETVARIABLEP(self, Entity*, target), float, speed);", true);
    probe.lines().push_front("header");
    probe.RevertFunction();
    std::string joined;
    for (const std::string& element : probe.lines()) joined += element;
    EXPECT_EQ(joined, "headerself->target->speed;");
    EXPECT_NE(std::find(probe.lines().begin(), probe.lines().end(), "self->target->speed"), probe.lines().end());
}

// A type may hold commas and parentheses: the name is what follows the
// access's last comma, in a body and in an extended object's variables.
TEST_F(Revert, AccessesOfTypesHoldingCommasComeBackByTheirNames) {
    const CppData event = RevertText(
        "\t// Function bound to event \"OnHit\"\nvoid OnHit(Entity* self, Entity* other)\n{\n"
        "\tGETVARIABLE(self, std::unordered_map<unsigned int, unsigned int>*, cells) = 0;\n"
        "\tGETVARIABLE(GETVARIABLE(self, std::map<int, Entity*>, owner), void (*)(void*), hook)(0);\n}\n");
    ASSERT_EQ(event.functions.size(), 1u);
    EXPECT_EQ(event.functions[0].code, "\n\tself->cells = 0;\n\tself->owner->hook(0);\n");

    const CppData variant = RevertText(
        "void Differences(Object* object)\n{\n"
        "\tGETVARIABLE(object, std::unordered_map<unsigned int, std::vector<Entity*>>*, slots);\n"
        "\tGETVARIABLE(object, int, n) = 2;\n}\n\nOBJECT(Crate);\n",
        "EXOBJECT");
    EXPECT_EQ(variant.varTypes,
              (std::vector<std::string>{"std::unordered_map<unsigned int, std::vector<Entity*>>*", "int"}));
    EXPECT_EQ(variant.varNames, (std::vector<std::string>{"slots", "n"}));
    EXPECT_EQ(variant.varValues, (std::vector<std::string>{"", "2"}));
}

TEST_F(Revert, MembersStopAtInheritedBlocksAndDefaultsComeFromInit) {
    const CppData data = RevertText(
        "struct _DATA : public Object\n{\n\t_DATA() : Object(sizeof(*this)) {}\n\n"
        "\tfloat speed;\n\tint cells[10];\n//INHERITED\n\tint parentOnly;\n//END INHERITED\n\tchar last;\n};\n\n"
        "void _Init(Object*& object)\n{\n\tBIND(T);\n\t_DATA* _object = (_DATA*)object;\n"
        "\tBINDVARIABLE(float, &_object->speed);\n\t_object->speed = 5.0f;\n\t_object->unknown = 3;\n}\n");
    EXPECT_EQ(data.varNames, (std::vector<std::string>{"speed", "cells", "last"}));
    EXPECT_EQ(data.varTypes, (std::vector<std::string>{"float", "int[10]", "char"}));
    EXPECT_EQ(data.varValues, (std::vector<std::string>{"5.0f", "", ""}));
}

// A default text is one token, whatever it holds: blanks and "//" are
// part of the value, not whitespace or a comment to pass over.
TEST_F(Revert, DefaultTextsWithBlanksAndSlashesComeBack) {
    const CppData data = RevertText(
        "struct _DATA : public Object\n{\n\t_DATA() : Object(sizeof(*this)) {}\n\n"
        "\tstd::string name;\n\tstd::string url;\n\tchar gap;\n\tint after;\n};\n\n"
        "void _Init(Object*& object)\n{\n\t_DATA* _object = (_DATA*)object;\n"
        "\t_object->name = \"no name\";\n\t_object->url = \"a // b\";\n\t_object->gap = ' ';\n"
        "\t_object->after = 3;\n}\n");
    EXPECT_EQ(data.varValues, (std::vector<std::string>{"\"no name\"", "\"a // b\"", "' '", "3"}));
}

TEST_F(Revert, AnEnginesDefaultsUseItsOwnPrefix) {
    const CppData data = RevertText(
        "struct _DATA : public Engine\n{\n\t_DATA() : Engine(sizeof(*this)) {}\n\n\tfloat rate;\n};\n\n"
        "void _Init(Engine*& engine)\n{\n\t_DATA* _engine = (_DATA*)engine;\n\t_engine->rate = 2.5;\n}\n",
        "Engine");
    EXPECT_EQ(data.varValues, (std::vector<std::string>{"2.5"}));
}

TEST_F(Revert, EnginesAndInstancesOfTheCopyStep) {
    const CppData data = RevertText(
        "void _Copy(Entity* copy, const Entity* source)\n{\n\tENGINE(Behavior, 5.0);\n\tENGINE(Render, 1);\n"
        "\tINSTANCE(Crate, \"box\");\n\tINSTANCE(Lamp, \"\");\n}\n");
    EXPECT_EQ(data.enginesText, "Behavior :\t\t5.0\n\tRender :\t\t1\n\t");
    EXPECT_EQ(data.objectsText, "Crate :\t\tbox\n\tLamp :\t\t\n\t");
}

TEST_F(Revert, AnExtendedObjectsDifferencesVariablesAndBase) {
    const CppData data = RevertText(
        "void _Differences(Object* self)\n{\n\tGETVARIABLE(self, bool, on) = false;\n}\n\n"
        "\t// Helper function.\nint Twice(int a)\n{\n\treturn GETVARIABLE(a, int, n) * 2;\n}\n\n"
        "void Differences(Object* object)\n{\n\tGETVARIABLE(object, int, ids);\n"
        "\tGETVARIABLE(object, float, speed) = 2.0f;\n\t_Differences(object);\n}\n\nOBJECT(Crate);\n}\n}\n"
        "int after = 1;\n",
        "EXOBJECT");
    EXPECT_EQ(data.differencesText, "\n\tself->on = false;\n");
    EXPECT_EQ(data.varTypes, (std::vector<std::string>{"int", "float"}));
    EXPECT_EQ(data.varNames, (std::vector<std::string>{"ids", "speed"}));
    EXPECT_EQ(data.varValues, (std::vector<std::string>{"", "2.0f"}));
    EXPECT_EQ(data.baseType, "Crate");
    EXPECT_EQ(data.globalsText, "");
    // A helper is read by its header, its body turned back.
    ASSERT_EQ(data.functions.size(), 1u);
    EXPECT_EQ(data.functions[0].name, "Twice");
    EXPECT_EQ(data.functions[0].returnType, "int");
    EXPECT_EQ(data.functions[0].functionType, "HELPER");
    EXPECT_EQ(data.functions[0].code, "\n\treturn a->n * 2;\n");
}

// A script converted and its header reverted gives back what the header
// carries of it.
TEST_F(Revert, RoundTripOfEveryKind) {
    world::RegisterEngine("Update");
    const struct {
        const char* kind;
        const char* type;
    } cases[] = {{"OBJECT", "Lamp"}, {"LEVEL", "Meadow"},    {"GAME", "Realm"},  {"ENGINE", "Mover"},
                 {"OBJECT", "Sign"}, {"EXOBJECT", "Switch"}, {"OBJECT", "Child"}};
    // Calls the converter rewrote stay in their rewritten form.
    const std::map<std::string, std::string> rewritten = {
        {"Meadow", "\n\tself->wind = 2;\n\tLevel* home = self->GetMyLevel();\n\thome->wind = 1;\n"},
        {"Mover", "\n\tself->speed += 1;\n\tself->DoEvent(\"Jump\", other);\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string script = GoldenFolder() + "/" + c.type + ".script";
        const std::string header = folder / (std::string(c.type) + ".h");
        ASSERT_TRUE(converter.ConvertKind(c.kind, script, header, folder / (std::string(c.type) + ".cpp"), c.type));
        CppData expected;
        ASSERT_TRUE(converter.ReadScript(script, expected));
        if (rewritten.count(c.type) != 0) expected.functions.front().code = rewritten.at(c.type);
        CppData got;
        got.kind = c.kind;
        ASSERT_TRUE(converter.RevertFile(header, got));
        EXPECT_EQ(got.varNames, expected.varNames);
        EXPECT_EQ(got.varTypes, expected.varTypes);
        EXPECT_EQ(got.varValues, expected.varValues);
        EXPECT_EQ(got.globalsText,
                  expected.globalsText.substr(expected.globalsText.find_first_not_of('\n') == std::string::npos
                                                  ? expected.globalsText.size()
                                                  : expected.globalsText.find_first_not_of('\n')));
        EXPECT_EQ(Entries(got.enginesText), Entries(expected.enginesText));
        EXPECT_EQ(Entries(got.objectsText), Entries(expected.objectsText));
        EXPECT_EQ(got.differencesText, expected.differencesText);
        EXPECT_EQ(got.baseType, expected.baseType);
        ASSERT_EQ(got.functions.size(), expected.functions.size());
        for (std::size_t i = 0; i < got.functions.size(); ++i) {
            EXPECT_EQ(got.functions[i].name, expected.functions[i].name);
            EXPECT_EQ(got.functions[i].functionType, expected.functions[i].functionType);
            EXPECT_EQ(got.functions[i].code, expected.functions[i].code);
        }
    }
}

}  // namespace
