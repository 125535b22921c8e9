// The editors' queries: values as text, value checks, file comparison, and
// the variable tables filled from what the registered types bind.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>

#include "Probe.h"
#include "framework/Engine.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/VariableBindings.h"
#include "framework/Vector.h"
#include "support/EntityWorld.h"

namespace {

TEST(ArithmeticExpression, Examples) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"5", true},     {"42", true},       {"3.25f", true}, {"(5)", true},    {"2.5f*(3+4)", true}, {"", false},
        {"5+", false},   {"(", false},       {"()", false},   {"-5", false},    {".5", false},        {"1+-2", true},
        {"5 3", true},   {"1.5 2.5", false}, {"5f3", false},  {"5f+3", true},   {")5", false},        {"(5", true},
        {"(5))", false}, {"7 % 2", true},    {"5.", true},    {"1.2.3", false}, {"x", false},         {" 5 \n", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsArithmeticExpression(c.text), c.expected) << '"' << c.text << '"';
}

TEST(AccessVarValue, ReadsEachType) {
    CppConvert converter;
    std::int32_t i = -42;
    float f = 0.5f;
    double d = 2.25;
    char ch = 'q';
    const char* text = "hello";
    const char* none = nullptr;
    unsigned char flag = 2;  // a bool's byte holding 2
    D3DXVECTOR2 v2{1.0f, 2.0f};
    D3DXVECTOR3 v3{1.0f, -2.0f, 3.5f};
    std::string s = "string value";
    const std::string longText(2000, 'L');
    const char* longPointer = longText.c_str();
    const struct {
        const void* at;
        const char* type;
        std::string expected;
    } cases[] = {
        {&i, "int", "-42"},
        {&f, "float", "0.500000"},
        {&d, "double", "2.250000"},
        {&ch, "char", "q"},
        {&text, "char *", "hello"},
        {&text, "char*", "hello"},
        {&none, "char *", ""},
        {&longPointer, "char *", longText},
        {&flag, "bool", "true"},
        {&v2, "Vec2", "Vec2(1.000000, 2.000000)"},
        {&v3, "Vec3", "Vec3(1.000000, -2.000000, 3.500000)"},
        {&s, "std::string", "string value"},
        {&i, "Int", ""},
        {&i, "unsigned int", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(converter.AccessVarValue(c.at, c.type, ""), c.expected) << c.type;
    f = 3.0e38f;
    EXPECT_EQ(converter.AccessVarValue(&f, "float", "").size(), 46u);  // 39 figures, a point and six decimals
}

TEST(AccessVarValue, WritesEachType) {
    CppConvert converter;
    std::int32_t i = 1;
    EXPECT_EQ(converter.AccessVarValue(&i, "int", "-17"), "ValueSet");
    EXPECT_EQ(i, -17);
    EXPECT_EQ(converter.AccessVarValue(&i, "int", "0x10"), "ValueSet");
    EXPECT_EQ(i, 16);
    EXPECT_EQ(converter.AccessVarValue(&i, "int", "nope"), "ValueSet");
    EXPECT_EQ(i, 16);
    EXPECT_EQ(converter.AccessVarValue(&i, "int", "99999999999"), "ValueSet");
    EXPECT_EQ(i, INT32_MAX);

    float f = 0.0f;
    EXPECT_EQ(converter.AccessVarValue(&f, "float", "2.5"), "ValueSet");
    EXPECT_EQ(f, 2.5f);
    double d = 0.0;
    EXPECT_EQ(converter.AccessVarValue(&d, "double", "-0.125"), "ValueSet");
    EXPECT_EQ(d, -0.125);
    char ch = 'a';
    EXPECT_EQ(converter.AccessVarValue(&ch, "char", "zebra"), "ValueSet");
    EXPECT_EQ(ch, 'z');

    unsigned char flag = 1;
    EXPECT_EQ(converter.AccessVarValue(&flag, "bool", "True"), "ValueSet");
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(converter.AccessVarValue(&flag, "bool", "true"), "ValueSet");
    EXPECT_EQ(flag, 1);

    D3DXVECTOR2 v2{1.0f, 2.0f};
    EXPECT_EQ(converter.AccessVarValue(&v2, "Vec2", "Vec2(3, 4)"), "ValueSet");
    EXPECT_EQ(v2, (D3DXVECTOR2{3.0f, 4.0f}));
    EXPECT_EQ(converter.AccessVarValue(&v2, "Vec2", "7"), "ValueSet");
    EXPECT_EQ(v2, (D3DXVECTOR2{3.0f, 4.0f}));
    D3DXVECTOR3 v3{1.0f, 2.0f, 3.0f};
    EXPECT_EQ(converter.AccessVarValue(&v3, "Vec3", "Vec3(5, 6"), "ValueSet");  // the unread z stays
    EXPECT_EQ(v3, (D3DXVECTOR3{5.0f, 6.0f, 3.0f}));

    std::string s = "old";
    EXPECT_EQ(converter.AccessVarValue(&s, "std::string", "new text"), "ValueSet");
    EXPECT_EQ(s, "new text");

    // A char * points at a buffer of unknown size: never written.
    char buffer[4] = "abc";
    char* pointer = buffer;
    EXPECT_EQ(converter.AccessVarValue(&pointer, "char *", "a much longer text"), "");
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(pointer, buffer);

    std::int32_t untouched = 5;
    EXPECT_EQ(converter.AccessVarValue(&untouched, "Int", "7"), "");
    EXPECT_EQ(untouched, 5);
}

TEST(VerifyValue, NumberTypesNeedAnExpressionOthersTakeAnything) {
    CppConvert converter;
    for (const char* type : {"std::string", "short", "char", "unsigned", "std::string\n"}) {
        EXPECT_TRUE(converter.VerifyValue(type, "")) << type;
        EXPECT_TRUE(converter.VerifyValue(type, "anything at all")) << type;
    }
    for (const char* type : {"float", "double", "int", "Vec2", ""}) {
        EXPECT_TRUE(converter.VerifyValue(type, "2.5f*(3+4)")) << type;
        EXPECT_FALSE(converter.VerifyValue(type, "")) << type;
        EXPECT_FALSE(converter.VerifyValue(type, "abc")) << type;
    }
}

TEST(FileChanged, ComparesTheFilesText) {
    CppConvert converter;
    TempFolder folder;
    auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
        return folder / name;
    };
    const std::string lf = write("lf.txt", "line one\nline two\n");
    EXPECT_FALSE(converter.FileChanged(lf, "line one\nline two\n"));
    EXPECT_TRUE(converter.FileChanged(lf, "line one\nline two"));
    EXPECT_TRUE(converter.FileChanged(lf, "line one\nline 2\n"));
    const std::string crlf = write("crlf.txt", "line one\r\nline two\r\n");
    EXPECT_FALSE(converter.FileChanged(crlf, "line one\nline two\n"));
    const std::string open = write("open.txt", "no end");
    EXPECT_FALSE(converter.FileChanged(open, "no end"));
    const std::string empty = write("empty.txt", "");
    EXPECT_FALSE(converter.FileChanged(empty, ""));
    EXPECT_TRUE(converter.FileChanged(empty, "x"));
    EXPECT_TRUE(converter.FileChanged(folder / "missing.txt", ""));
}

TEST(VariableNames, FollowTheEnumeration) {
    EXPECT_STREQ(VariableName(enum_size3D), "size3D");
    EXPECT_STREQ(VariableName(enum_position), "position");
    EXPECT_STREQ(VariableName(enum_score), "score");
    EXPECT_STREQ(VariableName(enum_xbox360Controls), "xbox360Controls");
    EXPECT_STREQ(VariableName(MAX_ENUM_VALUE - 1), "reserved483");
    EXPECT_EQ(VariableName(-1), nullptr);
    EXPECT_EQ(VariableName(MAX_ENUM_VALUE), nullptr);
}

// Every registered type, as start-up registers them.
struct RegisteredTypes : world::EntityWorld {
    void SetUp() override {
        EntityWorld::SetUp();
        Level::_FirstInit();
        Engine::_FirstInit();
        Object::_FirstInit();
    }

    // Every registered prototype with its type name.
    std::vector<std::pair<std::string, const Entity*>> Prototypes() {
        std::vector<std::pair<std::string, const Entity*>> all;
        for (const auto& [name, p] : Object::_objects) all.emplace_back(name, p);
        for (const auto& [name, p] : Level::_levels) all.emplace_back(name, p);
        for (const auto& [name, p] : Engine::_engines) all.emplace_back(name, p);
        if (GetMyGame() != nullptr) all.emplace_back(GetMyGame()->GetType(), GetMyGame());
        return all;
    }
};

TEST_F(RegisteredTypes, EveryVariableNameBindsOneTypeText) {
    std::map<std::string, std::map<std::string, std::string>> textsByName;  // name -> text -> a type binding it
    std::size_t bound = 0;
    for (const auto& [typeName, prototype] : Prototypes()) {
        if (prototype->_map == nullptr) continue;
        for (const auto& [number, text] : VariableBindingsOf(prototype->_map)) {
            ASSERT_NE(VariableName(number), nullptr);
            EXPECT_FALSE(text.empty()) << typeName << " " << VariableName(number);
            textsByName[VariableName(number)].emplace(text, typeName);
            ++bound;
        }
    }
    EXPECT_GT(bound, 100u);
    for (const auto& [name, texts] : textsByName) {
        if (texts.size() == 1) continue;
        std::string clash;
        for (const auto& [text, typeName] : texts) clash += " " + typeName + ":" + text;
        ADD_FAILURE() << "variable " << name << " binds" << clash;
    }
}

TEST_F(RegisteredTypes, PlayerVariablesAreListedWithTheirTypeTexts) {
    CppConvert converter;
    const std::set<std::string> names = converter.GetVarList("Player");
    for (const char* expected : {"position", "velocity", "score", "playerName", "networked", "collision"})
        EXPECT_EQ(names.count(expected), 1u) << expected;
    const Object* player = Object::_objects.at("Player");
    std::size_t bindings = 0;
    for (const auto& [number, text] : VariableBindingsOf(player->_map)) {
        EXPECT_EQ(names.count(VariableName(number)), 1u);
        EXPECT_EQ(converter.GetVarType(VariableName(number)), text) << VariableName(number);
        ++bindings;
    }
    EXPECT_EQ(names.size(), bindings);
    EXPECT_EQ(converter.GetVarType("position"), "Vec3");
    EXPECT_EQ(converter.GetVarType("score"), "int");
    EXPECT_EQ(converter.GetVarType("networked"), "bool");
    EXPECT_EQ(converter.GetVarType("playerName"), "std::string");
    EXPECT_TRUE(converter.GetVarList("NoSuchType").empty());
    EXPECT_EQ(converter.GetVarType("noSuchVariable"), "");
}

TEST_F(RegisteredTypes, ReadsALivePlayerVariableThroughItsTypeText) {
    CppConvert converter;
    Object* player = Object::_objects.at("Player");
    const std::string type = converter.GetVarType("score");
    void* score = player->_startVar + player->_map[enum_score];
    *static_cast<std::int32_t*>(score) = 31;
    EXPECT_EQ(converter.AccessVarValue(score, type, ""), "31");
    EXPECT_EQ(converter.AccessVarValue(score, type, "12"), "ValueSet");
    EXPECT_EQ(*static_cast<std::int32_t*>(score), 12);
}

}  // namespace
