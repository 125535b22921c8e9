// The scanners, the builders' declarations and the rewriting of user code.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Probe.h"
#include "support/EntityWorld.h"

namespace {

struct Scanning : world::EntityWorld {
    CppConvert converter;
    CppConvertProbe probe{converter};
    TempFolder folder;

    // The builder's way of handing a scope to a scanner: its tokens behind
    // one leading element.
    void Feed(const std::string& leading, const std::string& text) {
        probe.Tokenize(text);
        probe.lines().push_front(leading);
    }
    std::string Joined() {
        std::string text;
        for (const std::string& token : probe.lines()) text += token;
        return text;
    }
    bool HasMessage(const std::string& part) {
        for (const std::string& message : converter.Messages())
            if (message.find(part) != std::string::npos) return true;
        return false;
    }
    std::string Build(CppData record) {
        probe.convertOk() = true;
        converter.BuildComplex(record, folder / "b.h", folder / "b.cpp");
        std::ifstream in(folder / "b.h", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(Scanning, EngineEntries) {
    const struct {
        const char* text;
        std::vector<std::string> names;
        std::vector<std::string> values;
        bool ok;
    } cases[] = {
        {"\n\tCamera: 1\n", {"Camera"}, {"1"}, true},
        {"\n\tCamera : 1\n\tSound:0\n", {"Camera", "Sound"}, {"1", "0"}, true},
        {"\n\tCamera :1\n", {"Camera"}, {"1"}, true},
        {"\n\tCamera:\n", {"Camera"}, {""}, false},
        {"\n\tCamera\n\tSound: 2\n", {"Camera", "Sound"}, {"", "2"}, false},
        {"\n\tCamera :\n", {"Camera"}, {""}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        probe.ConvertReset();
        probe.convertOk() = true;
        probe.messages().clear();
        Feed("", c.text);
        probe.ScanEngineValues();
        EXPECT_EQ(probe.engineNames(), c.names);
        EXPECT_EQ(probe.engineValues(), c.values);
        EXPECT_EQ(probe.convertOk(), c.ok);
        EXPECT_EQ(HasMessage("CppConvert ERROR [Function: #Engines  Offset: "), !c.ok);
        EXPECT_EQ(HasMessage("]:  Engine [Camera] missing value identifier"), !c.ok);
    }
}

TEST_F(Scanning, ObjectEntries) {
    const struct {
        const char* text;
        std::vector<std::string> types;
        std::vector<std::string> names;
    } cases[] = {
        {"\n\tCrate: box\n", {"Crate"}, {"box"}},
        {"\n\tCrate : box\n", {"Crate"}, {"box"}},
        {"\n\tCrate :box\n", {"Crate"}, {"box"}},
        {"\n\tCrate:box\n", {"Crate"}, {"box"}},
        {"\n\tCrate\n", {"Crate"}, {""}},
        {"\n\tCrate:\n\tLamp: x\n", {"Crate", "Lamp"}, {"", "x"}},
        {"\n\tCrate\n\tLamp:x\n", {"Crate", "Lamp"}, {"", "x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        probe.ConvertReset();
        probe.convertOk() = true;
        Feed("", c.text);
        probe.ScanObjectNames();
        EXPECT_EQ(probe.instanceTypes(), c.types);
        EXPECT_EQ(probe.instanceNames(), c.names);
        EXPECT_TRUE(probe.convertOk());
    }
}

TEST_F(Scanning, Globals) {
    const struct {
        const char* text;
        std::vector<std::string> names;
    } cases[] = {
        {"Object* target;", {"target->"}},
        {"Level* home = 0;", {"home->"}},
        {"Entity * boss;", {"boss->"}},
        {"Engine* physics;", {"physics->"}},
        {"int* count;", {}},
        {"Object* a, b;", {}},
        {"float* speeds;", {}},
        {"Object* last", {"last->"}},
        {"Game* game;\nObject* first;\nint x;", {"game->", "first->"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CppData record;
        record.globalsText = c.text;
        std::vector<std::string> names;
        probe.ScanGlobals(record, names);
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(Scanning, MemberVariables) {
    CppData record;
    record.typeName = "Lamp";
    record.varTypes = {"int[8]", "float", "bool"};
    record.varNames = {"slots", "speed", "lit"};
    record.varValues = {"", "2.5", ""};
    probe.typeNameText() = "Lamp";
    probe.ScanMemberVariables(&record);
    EXPECT_EQ(probe.memberDeclText(), "\tint slots[8];\n\tfloat speed;\n\tbool lit;\n};\n\n");
    EXPECT_EQ(probe.memberNames(), (std::vector<std::string>{"slots", "speed", "lit"}));
    EXPECT_EQ(probe.memberTypes(), (std::vector<std::string>{"int *", "float", "bool"}));
    EXPECT_EQ(probe.memberValues(), (std::vector<std::string>{";\n", " = 2.5;\n", ";\n"}));
    EXPECT_EQ(probe.memberCounts(), (std::vector<std::string>{"8", "", ""}));
    EXPECT_EQ(record.varTypes[0], "int");
    // Recorded for the queries and the variable binding.
    EXPECT_EQ(converter.GetVarList("Lamp"), (std::set<std::string>{"lit", "slots", "speed"}));
    EXPECT_EQ(converter.GetVarType("speed"), "float");

    // The parent's variables follow, those the stencil has passed over.
    probe.ConvertReset();
    probe.parent().varNames = {"speed", "armour"};
    probe.parent().varTypes = {"float", "int[2]"};
    probe.parent().varValues = {"1", ""};
    CppData child;
    child.varNames = {"speed"};
    child.varTypes = {"float"};
    child.varValues = {"3"};
    probe.ScanMemberVariables(&child);
    EXPECT_EQ(probe.memberDeclText(), "\tfloat speed;\n//INHERITED;\n\tint armour[2];\n//END INHERITED;\n};\n\n");
}

TEST_F(Scanning, EngineOrEventByRegistry) {
    world::RegisterEngine("Update");
    Feed("Update", "\n\tx = 1;\n");
    probe.ScanEngineEvents({}, false);
    EXPECT_EQ(probe.boundDefinitions(),
              "\t// Function bound to engine \"Update\"\nvoid Update(Entity* self, Entity* other)\n{\n\tx = 1;\n}\n\n");
    Feed("Load", "\n");
    probe.ScanEngineEvents({}, true);
    EXPECT_NE(probe.boundDefinitions().find("//INHERITED;\n\t// Function bound to event \"Load\"\nvoid Load(Entity* "
                                            "self, Entity* other)\n{\n}\n//END INHERITED;\n\n"),
              std::string::npos);
    EXPECT_TRUE(probe.helperDefinitions().empty());
}

TEST_F(Scanning, GetMyLevelAndPrefixes) {
    probe.varTypeByName()["speed"] = "float";
    // In an event GetMyLevel is the entity's own.
    Feed("Load", "\n\tGetMyLevel();\n\tMakeCopy();\n");
    probe.ScanEngineEvents({}, false);
    EXPECT_NE(probe.boundDefinitions().find("\tself->GetMyLevel();\n\tself->MakeCopy();\n"), std::string::npos);
    // In a helper it stays as it is; an entity-pointer parameter becomes a
    // prefix, a pointer to a type that is no entity kind does not.
    Feed("void Push(Object* target, float force, Crate* box)",
         "\n\tGetMyLevel();\n\ttarget->speed = force;\n\tbox->speed = 1;\n");
    probe.ScanEngineEvents({}, false);
    EXPECT_EQ(probe.helperDefinitions(),
              "\t// Helper function.\nvoid Push(Object* target, float force, Crate* box)\n{\n\tGetMyLevel();\n\t"
              "GETVARIABLE(target, float, speed) = force;\n\tbox->speed = 1;\n}\n\n");
    // Globals and locals.
    Feed("Tick", "\n\tboss->speed = 1;\n\tObject* o = self;\n\to->speed = 2;\n\tLamp::speed;\n");
    probe.varSetsByType()["Lamp"] = {"speed"};
    probe.ScanEngineEvents({"boss->"}, false);
    EXPECT_NE(probe.boundDefinitions().find("\tGETVARIABLE(boss, float, speed) = 1;\n\tObject* o = self;\n\t"
                                            "GETVARIABLE(o, float, speed) = 2;\n\tEntityData_Lamp_speed;\n"),
              std::string::npos);
}

TEST_F(Scanning, DeclarationsInTheirOrder) {
    CppData record;
    record.kind = "Object";
    record.typeName = "Order";
    auto function = [](const char* type, const char* name) {
        CppFunctions f;
        f.functionType = type;
        f.name = name;
        f.returnType = "void";
        return f;
    };
    CppFunctions sum = function("HELPER", "Sum");
    sum.returnType = "int";
    sum.arguments = {{"int", "a"}, {"float", "b"}};
    CppFunctions voidHelper = function("HELPER", "Nothing");
    voidHelper.arguments = {{"", "void"}};
    record.functions = {function("EVENT", "Load"), sum, function("ENGINE", "Behavior"), voidHelper,
                        function("OTHER", "Skipped")};
    const std::string header = Build(record);
    EXPECT_NE(header.find("int Sum(int a, float b);\nvoid Nothing(void);\nvoid Behavior(Entity* self, Entity* "
                          "other);\nvoid Load(Entity* self, Entity* other);\n"),
              std::string::npos);
    EXPECT_NE(header.find("\t// Helper function.\nint Sum(int a, float b)\n{}\n\n"), std::string::npos);
    EXPECT_EQ(header.find("Skipped"), std::string::npos);
    EXPECT_NE(header.find("\tBINDENGINE(Behavior);\n\n\tBINDEVENT(Load);\n\n"), std::string::npos);

    // The extended-object builder has no "void" rule.
    record.kind = "ExObject";
    probe.convertOk() = true;
    ASSERT_TRUE(probe.BuildComplexEx(record, folder / "x.h", folder / "x.cpp"));
    std::ifstream ex(folder / "x.h", std::ios::binary);
    std::stringstream text;
    text << ex.rdbuf();
    EXPECT_NE(text.str().find("void Nothing( void);\n"), std::string::npos);

    // An empty parent still brackets the inherited block.
    record.kind = "Object";
    record.inheritFrom = "Nobody";
    probe.parent() = CppData{};
    EXPECT_NE(Build(record).find("void Load(Entity* self, Entity* other);\n//INHERITED;\n//END INHERITED;\n"),
              std::string::npos);
}

TEST_F(Scanning, ExtendedObjectVariables) {
    CppData record;
    record.kind = "ExObject";
    record.typeName = "Switch";
    record.baseType = "Crate";
    record.varTypes = {"int[3]", "bool"};
    record.varNames = {"ids", "on"};
    record.varValues = {"", "true"};
    probe.convertOk() = true;
    ASSERT_TRUE(probe.BuildComplexEx(record, folder / "s.h", folder / "s.cpp"));
    EXPECT_EQ(record.varTypes, (std::vector<std::string>{"int", "bool"}));
    EXPECT_EQ(probe.memberDeclText(),
              "\t\t// Variables\n\tGETVARIABLE(object, int[3], ids);\n\tGETVARIABLE(object, bool, on) = true;\n\n"
              "\t_Differences(object);\n}\n\n");
    EXPECT_EQ(probe.memberNames(), (std::vector<std::string>{"ids", "on"}));
    EXPECT_EQ(probe.memberCounts(), (std::vector<std::string>{"3", ""}));

    // A part of a member: the member once, its part assigned.
    probe.ConvertReset();
    probe.Tokenize("\tVec2 position.x = 3;\n\tVec2 position.y = 4;\n");
    probe.lines().push_front("");
    probe.ScanExVariables();
    EXPECT_EQ(probe.memberNames(), (std::vector<std::string>{"position"}));
    EXPECT_EQ(probe.memberDeclText(),
              "\t\t// Variables\n\tGETVARIABLE(object, Vec2, position).x = 3;\n\tGETVARIABLE(object, Vec2, "
              "position).y = 4;\n\n\t_Differences(object);\n}\n\n");
}

TEST_F(Scanning, VariableDefinitions) {
    const struct {
        const char* text;
        const char* type;
        const char* name;
        const char* value;
        const char* count;
        const char* statement;
    } cases[] = {
        {"unsigned int count = 3;", "unsigned int", "count", "3", "", "unsigned int count = 3;\n"},
        {"int slots[8];", "int", "slots", "", "8", "int slots[8];\n"},
        {"Object* target = 0;", "Object*", "target", "0", "", "Object* target = 0;\n"},
        {"Vec2 where = Vec2(1, 2);", "Vec2", "where", "Vec2(1, 2)", "", "Vec2 where = Vec2(1, 2);\n"},
        {"std::vector<int> list /* ids */;", "std::vector<int>", "list", "", "", "std::vector<int> list;\n"},
        {"char * name;", "char *", "name", "", "", "char * name;\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        probe.Tokenize(c.text);
        std::string type, name, value, count;
        EXPECT_EQ(probe.InterpretVariableDefinition(type, name, value, count), c.statement);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(count, c.count);
    }
    // Nothing before "=": an error that fails the conversion.
    probe.convertOk() = true;
    probe.Tokenize("\n= 5;");
    std::string type, name, value, count;
    probe.InterpretVariableDefinition(type, name, value, count);
    EXPECT_FALSE(probe.convertOk());
    EXPECT_TRUE(HasMessage("CppConvert ERROR [Line: 1]:  No LHS found on an [=] operation."));
}

TEST_F(Scanning, EntityCalls) {
    const CppConvertProbe::PrefixMap withSelf{{"self->", ""}, {"other->", ""}};
    const CppConvertProbe::PrefixMap helper{{"target->", ""}};
    const struct {
        const char* text;
        const CppConvertProbe::PrefixMap* prefixes;
        bool rewritten;
        const char* result;
    } cases[] = {
        {"self->Jump()", &withSelf, true, "self->DoEvent(\"Jump\", self)"},
        {"self->Jump( )", &withSelf, true, "self->DoEvent(\"Jump\", self)"},
        {"other->Jump();", &withSelf, true, "self->DoEvent(\"Jump\", other);"},
        {"target->Jump();", &helper, true, "target->DoEvent(\"Jump\", target);"},
        {"self->Jump(1)", &withSelf, false, "self->Jump(1)"},
        {"self->_Hidden()", &withSelf, false, "self->_Hidden()"},
        {"self->a.b()", &withSelf, false, "self->a.b()"},
        {"foe->Jump()", &withSelf, false, "foe->Jump()"},
        {"self->Jump", &withSelf, false, "self->Jump"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Feed("", c.text);
        auto at = std::next(probe.lines().begin());
        EXPECT_EQ(probe.ReplaceEntityFunctionCall(at, *c.prefixes), c.rewritten);
        EXPECT_EQ(Joined(), c.result);
    }
}

TEST_F(Scanning, VariableAccesses) {
    probe.varTypeByName()["speed"] = "float";
    probe.varTypeByName()["slots"] = "int *";
    probe.varTypeByName()["position"] = "Vec2";
    probe.varTypeByName()["_hidden"] = "int";
    probe.memberNames() = {"slots"};
    probe.memberCounts() = {"8"};
    probe.currentFunction() = "Load";
    const CppConvertProbe::PrefixMap prefixes{{"self->", ""}, {"boss->", "GETVARIABLE(boss, "}};
    const struct {
        const char* text;
        bool rewritten;
        const char* result;
        bool warns;
    } cases[] = {
        {"self->speed = 1;", true, "GETVARIABLE(self, float, speed) = 1;", false},
        {"boss->speed", true, "GETVARIABLE(boss, float, speed)", false},
        {"self->slots[2] = 1;", true, "GETVARIABLEP(self, int *, slots)[2] = 1;", false},
        {"self->slots", true, "GETVARIABLEP(self, int *, slots)", false},
        {"self->speed[0]", true, "GETVARIABLE(self, float, speed)[0]", false},
        {"self->position.x = 3;", true, "GETVARIABLE(self, Vec2, position).x = 3;", false},
        {"self->_hidden", false, "self->_hidden", false},
        {"self->nothing = 1;", false, "self->nothing = 1;", true},
        {"foe->speed", false, "foe->speed", false},
        {"self->Move(1, 2)", false, "self->Move(1, 2)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        probe.messages().clear();
        Feed("", c.text);
        auto at = std::next(probe.lines().begin());
        EXPECT_EQ(probe.ReplaceEntityCode(at, prefixes), c.rewritten);
        EXPECT_EQ(Joined(), c.result);
        EXPECT_EQ(HasMessage("Warning [Function: Load  Offset: 0]:  variable [nothing] could not be found in "
                             "database"),
                  c.warns);
    }
}

}  // namespace
