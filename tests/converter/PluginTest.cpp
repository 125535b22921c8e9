// Plug-ins built from generated sources with the system compiler, loaded,
// and put into service by the type-replacement entries.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "GeneratedText.h"
#include "Probe.h"
#include "converter/DLL.h"
#include "framework/Globals.h"
#include "framework/TypeReplacement.h"
#include "support/EntityWorld.h"

namespace {

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// A fresh working folder per test, the builder's defaults, empty lists.
struct PluginBuild : world::EntityWorld {
    TempFolder folder;
    std::string savedDirectory;
    CppConvertProbe converter{cppConvert};

    void SetUp() override {
        world::EntityWorld::SetUp();
        savedDirectory = Globals.workingDirectory;
        ASSERT_TRUE(CopyPath(Globals.workingDirectory, folder.Path()));
        DLL::BuildSettings() = DLL::DefaultBuildSettings();
        DLL::buildErrors.clear();
        DLL::buildWarnings.clear();
    }
    void TearDown() override {
        CopyPath(Globals.workingDirectory, savedDirectory);
        DLL::BuildSettings() = DLL::DefaultBuildSettings();
        world::EntityWorld::TearDown();
    }

    std::string Source(const std::string& name, const std::string& text) {
        const std::string path = folder / name;
        WriteFile(path, text);
        return path;
    }
    // Converts script as a type of kind (an object type unless said); the
    // answer is the plug-in source. Each conversion has a source of its own.
    std::string Convert(const std::string& type, const std::string& script, const std::string& kind = "OBJECT") {
        const std::string scriptPath = Source(type + ".script", script);
        const std::string source = folder / (kind + " " + type + std::to_string(++conversions) + ".cpp");
        EXPECT_TRUE(cppConvert.ConvertKind(kind, scriptPath, folder / (kind + " " + type + ".h"), source, type))
            << ErrorsText();
        return source;
    }
    int conversions = 0;
    std::string ErrorsText() {
        std::string text;
        for (const BuildMessage& m : DLL::buildErrors) text += m.file + ":" + m.where + ": " + m.text + "\n";
        return text;
    }
    // A stand-in compiler: a script that leaves a mark and then does body.
    std::string StandIn(const std::string& body) {
        const std::string path = folder / "stand-in-compiler";
        WriteFile(path, "#!/bin/sh\ntouch \"" + (folder / "compiler-ran") + "\"\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
};

// The type the test registers, replaced by the script "Probe".
struct OldProbeVariables {
    int life = 1;
};
struct OldProbe : Object {
    OldProbe() : Object(sizeof(OldProbe)) {}
    OldProbeVariables vars;
};
VariableOffsetTable oldProbeTable;
void OldOnHit(Entity* self, Entity*) { VariablesOf<OldProbeVariables>(self).life = -1; }
void CopyOldProbe(Entity* copy, const Entity* source) { ConstructVariables<OldProbeVariables>(copy, source); }

void RegisterOldProbe() {
    auto* prototype = new OldProbe();
    prototype->_copy = &CopyOldProbe;
    prototype->_free = &Entity::_CallUnload;
    prototype->_type = "Probe";
    prototype->_map = oldProbeTable;
    prototype->_AddEvent("OnHit", &OldOnHit);
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    ClearVariableTable(oldProbeTable);
    BindVariable(oldProbeTable, *prototype, enum_life, prototype->vars.life);
    Object::_IncludeObject("Probe", prototype);
}

// The script "Probe": "life" is a variable of the program, "probeBonus"
// and "probeTitle" are new; only the event's body makes life 42, and it
// counts the program's registered "Probe" types, which a plug-in with
// registries of its own would not see.
std::string ProbeScript(const std::string& extraBody = "") {
    return "// A probe.\n#Variables\n{\n\tint life = 5;\n\tint probeBonus = 7;\n"
           "\tstd::string probeTitle = \"probe\";\n\tint probeSeen;\n\tfloat probeSpeed;\n"
           "\tint probeMarks[3];\n\tstd::string probeNote;\n}\n\n"
           "// Function bound to event\nOnHit\n{\n\tself->life = self->probeBonus * 6;\n"
           "\tself->probeSeen = (int)Object::_objects.count(\"Probe\");\n" +
           extraBody + "}\n";
}

TEST_F(PluginBuild, ProbeReplacesARegisteredTypeAndTheOldClonesKeepTheirs) {
    ASSERT_FALSE(DLL::DefaultBuildSettings().compiler.empty());
    RegisterOldProbe();
    State* state = NewState("");
    Object* before = Object::MakeCopy(state, "Probe", "before");
    ASSERT_NE(before, nullptr);
    Object* oldPrototype = Object::_FindPrototype("Probe");

    const std::string source = Convert("Probe", ProbeScript());
    const int number = DLL::buildCounter;
    ASSERT_TRUE(Entity::_ReplaceObject(source.c_str(), "Probe", "Probe")) << ErrorsText();

    const std::string built = folder / ("Editor/tempDLL" + std::to_string(number) + ".so");
    EXPECT_TRUE(Exists(built));
    ASSERT_EQ(DLL::StencilDllModules.count(source), 1u);
    EXPECT_NE(DLL::StencilDllModules[source], nullptr);
    EXPECT_TRUE(Exists(folder / "OBJECT Probe.h"));  // same name: the header stays

    Object* prototype = Object::_FindPrototype("Probe");
    ASSERT_NE(prototype, nullptr);
    EXPECT_NE(prototype, oldPrototype);
    Dl_info info{};
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(prototype->_copy), &info), 0);
    EXPECT_EQ(std::filesystem::canonical(info.dli_fname), std::filesystem::canonical(built));
    // The old prototype is retired, not destroyed: the old clone names it.
    EXPECT_EQ(before->GetParentStencil(), oldPrototype);
    const auto& retired = RetiredStencils();
    EXPECT_NE(std::find(retired.begin(), retired.end(), oldPrototype), retired.end());

    Object* after = Object::MakeCopy(state, "Probe", "after");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(Variable<int>(after, enum_life), 5);
    // Variables without a default start value-initialised: zero, empty.
    auto own = [&](const char* name) { return _PluginVariable(after, converter.GetEnumValue(name), name); };
    ASSERT_NE(own("probeSeen"), nullptr);
    EXPECT_EQ(*static_cast<int*>(own("probeSeen")), 0);
    EXPECT_EQ(*static_cast<float*>(own("probeSpeed")), 0.0f);
    const int* marks = static_cast<int*>(own("probeMarks"));
    EXPECT_EQ(marks[0] | marks[1] | marks[2], 0);
    EXPECT_EQ(*static_cast<std::string*>(own("probeNote")), "");
    after->GetEvent("OnHit")(after, after);
    EXPECT_EQ(Variable<int>(after, enum_life), 42);
    const std::int32_t seen = converter.GetEnumValue("probeSeen");
    ASSERT_GE(seen, MAX_ENUM_VALUE);
    EXPECT_EQ(*static_cast<int*>(_PluginVariable(after, seen, "probeSeen")), 1);
    // A variable number beyond a built-in type's table reaches nothing.
    EXPECT_EQ(_PluginVariable(before, seen, "probeSeen"), nullptr);

    before->GetEvent("OnHit")(before, before);
    EXPECT_EQ(Variable<int>(before, enum_life), -1);
    Object* beforeCopy = Object::_MakeCopy(state, before, "beforeCopy");
    EXPECT_EQ(Variable<int>(beforeCopy, enum_life), -1);

    // Under another name: nothing stays under the old one, its header goes.
    const std::string renamed = Convert("ProbeRenamed", ProbeScript());
    ASSERT_TRUE(Entity::_ReplaceObject(renamed.c_str(), "ProbeRenamed", "Probe")) << ErrorsText();
    EXPECT_TRUE(Exists(folder / ("Editor/tempDLL" + std::to_string(number + 1) + ".so")));
    EXPECT_EQ(Object::_FindPrototype("Probe"), nullptr);
    EXPECT_NE(Object::_FindPrototype("ProbeRenamed"), nullptr);
    EXPECT_FALSE(Exists(folder / "OBJECT Probe.h"));
    Object* third = Object::MakeCopy(state, "ProbeRenamed", "third");
    ASSERT_NE(third, nullptr);
    third->GetEvent("OnHit")(third, third);
    EXPECT_EQ(Variable<int>(third, enum_life), 42);

    // An empty new name removes the type.
    WriteFile(folder / "OBJECT ProbeRenamed.h", "// header\n");
    ASSERT_TRUE(Entity::_ReplaceObject("", "", "ProbeRenamed"));
    EXPECT_EQ(Object::_FindPrototype("ProbeRenamed"), nullptr);
    EXPECT_FALSE(Exists(folder / "OBJECT ProbeRenamed.h"));
    EXPECT_EQ(Object::MakeCopy(state, "ProbeRenamed", "none"), nullptr);
    // Clones of every generation still free cleanly with their state.
}

TEST_F(PluginBuild, ACppErrorAnswersFalseWithTheCompilersMessageAndTheOldTypeStays) {
    RegisterOldProbe();
    State* state = NewState("");
    const std::string source = Source("Broken.cpp", "");
    const std::string scriptPath = Source("Broken.script", ProbeScript("\tthis is not C++;\n"));
    cppConvert.ConvertObject(scriptPath, folder / "OBJECT Probe.h", source, "Probe");
    EXPECT_FALSE(Entity::_ReplaceObject(source.c_str(), "Probe", "Probe"));
    ASSERT_FALSE(DLL::buildErrors.empty());
    EXPECT_NE(DLL::buildErrors.front().file.find("TEMP.cpp"), std::string::npos);
    EXPECT_FALSE(DLL::buildErrors.front().where.empty());
    EXPECT_NE(DLL::LastReport().find("Errors:"), std::string::npos);
    EXPECT_EQ(DLL::StencilDllModules.count(source), 0u);
    Object* copy = Object::MakeCopy(state, "Probe", "copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Variable<int>(copy, enum_life), 1);
}

TEST_F(PluginBuild, AMemberTheCopyStepCannotCopyIsRefusedByName) {
    const std::string source = Convert("Queue", "#Variables\n{\n\tstd::list<int> pending;\n}\n");
    EXPECT_FALSE(Entity::_ReplaceObject(source.c_str(), "Queue", ""));
    EXPECT_NE(ErrorsText().find("variable \"pending\" is neither trivially copyable"), std::string::npos)
        << ErrorsText();
    EXPECT_EQ(Object::_FindPrototype("Queue"), nullptr);
}

TEST_F(PluginBuild, AMemberOfEverySpecialTypeCopiesAndFrees) {
    const std::vector<std::string> types = CppConvertProbe::SpecialTypeTexts();
    ASSERT_EQ(types.size(), 23u);
    std::string script = "#Variables\n{\n";
    int n = 0;
    for (const std::string& type : types) script += "\t" + type + " special" + std::to_string(n++) + ";\n";
    script +=
        "\tstd::string specialNames[4];\n}\n\n// Function bound to event\nFill\n{\n"
        "\tself->special0 = \"a long text that is not kept inline\";\n\tself->specialNames[2] = self->special0;\n}\n";
    const std::string source = Convert("Specials", script);
    ASSERT_TRUE(Entity::_ReplaceObject(source.c_str(), "Specials", "")) << ErrorsText();
    State* state = NewState("");
    Object* first = Object::MakeCopy(state, "Specials", "first");
    ASSERT_NE(first, nullptr);
    first->GetEvent("Fill")(first, first);
    Object* second = Object::_MakeCopy(state, first, "second");
    ASSERT_NE(second, nullptr);
    const std::int32_t number = converter.GetEnumValue("special0");
    EXPECT_EQ(*static_cast<std::string*>(_PluginVariable(second, number, "special0")),
              "a long text that is not kept inline");
    const std::int32_t names = converter.GetEnumValue("specialNames");
    EXPECT_EQ(static_cast<std::string*>(_PluginVariable(second, names, "specialNames"))[2],
              "a long text that is not kept inline");
    // Both are freed with their state (the sanitizers check the rest).
}

TEST_F(PluginBuild, AnExtendedObjectWithoutDifferencesChangesNothing) {
    world::RegisterThing("Thing");
    const std::string source = Source("Plain.cpp", generated::ExObjectSource("PlainThing", "Thing", false));
    ASSERT_TRUE(Entity::_ReplaceExObject(source.c_str(), "PlainThing", "")) << ErrorsText();
    ASSERT_EQ(Object::_exobjects.count("PlainThing"), 1u);
    EXPECT_EQ(Object::_exobjects["PlainThing"]->BaseName(), "Thing");
    State* state = NewState("");
    Object* copy = Object::MakeCopy(state, "PlainThing", "plain");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Variable<int>(copy, enum_counter), 1);  // the thing's own "Load" only
}

TEST_F(PluginBuild, NamesThatAreNotTypeNamesAreRefusedAndNothingIsTouched) {
    WriteFile(folder / "x.h", "keep\n");
    world::RegisterThing("Thing");
    const int number = DLL::buildCounter;
    const std::string tooLong(65, 'a');
    for (const char* name : {"../x", "a b", "1abc", "x/y", "Thing\n", tooLong.c_str()}) {
        EXPECT_FALSE(Entity::_ReplaceObject("any.cpp", name, "Thing")) << name;
        EXPECT_FALSE(Entity::_ReplaceObject("any.cpp", "Thing", name)) << name;
        EXPECT_FALSE(Entity::_ReplaceExObject("any.cpp", "", name)) << name;
    }
    DLL::DeleteGeneratedHeader("OBJECT ", "../x");
    EXPECT_TRUE(Exists(folder / "x.h"));
    EXPECT_EQ(DLL::buildCounter, number);
    EXPECT_NE(Object::_FindPrototype("Thing"), nullptr);
    EXPECT_TRUE(DLL::IsTypeName(std::string(64, 'a')));
}

TEST_F(PluginBuild, AnUnreadableSourceFailsBeforeTheCompilerRuns) {
    DLL::BuildSettings().compiler = StandIn("exit 0");
    WriteFile(folder / "TEMP.cpp", "old source\n");
    WriteFile(folder / "long.cpp", std::string(4999, 'x') + "\n");
    for (const std::string& source : {folder / "missing.cpp", folder / "long.cpp"}) {
        DLL::buildErrors.clear();
        EXPECT_EQ(DLL::CompileAndLoadDLL(source), nullptr);
        EXPECT_FALSE(Exists(folder / "compiler-ran")) << source;
        ASSERT_EQ(DLL::buildErrors.size(), 1u);
        EXPECT_EQ(DLL::buildErrors.front().file, source);
    }
    std::string text;
    ASSERT_TRUE(DLL::ReadTextFile(folder / "TEMP.cpp", text));
    EXPECT_EQ(text, "old source\n");
}

TEST_F(PluginBuild, AMissingCompilerIsNamed) {
    const std::string source = Source("s.cpp", "int x;\n");
    for (const std::string& compiler : {folder / "no-such-compiler", std::string("gf-no-such-compiler")}) {
        DLL::BuildSettings().compiler = compiler;
        DLL::buildErrors.clear();
        EXPECT_EQ(DLL::CompileAndLoadDLL(source), nullptr);
        ASSERT_EQ(DLL::buildErrors.size(), 1u);
        EXPECT_NE(DLL::buildErrors.front().text.find(compiler), std::string::npos) << DLL::buildErrors.front().text;
    }
}

TEST_F(PluginBuild, ACompilerThatWorksOrWaitsPastTheLimitIsStopped) {
    struct Case {
        const char* what;
        const char* body;
        const char* said;
    };
    const Case cases[] = {
        {"waits", "exec sleep 30", "did nothing for 300 ms"},
        {"works without end", "while :; do :; done", "worked longer than 300 ms"},
    };
    DLL::BuildSettings().timeLimit = std::chrono::milliseconds(300);
    const std::string source = Source("s.cpp", "int x;\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder / "compiler-ran");
        DLL::BuildSettings().compiler = StandIn(c.body);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(DLL::CompileAndLoadDLL(source), nullptr);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_TRUE(Exists(folder / "compiler-ran"));
        ASSERT_FALSE(DLL::buildErrors.empty());
        EXPECT_NE(DLL::buildErrors.back().text.find(c.said), std::string::npos) << DLL::buildErrors.back().text;
    }
}

// The limit bounds the compiler's work, not the time a busy machine takes
// over it: one that keeps working a little at a time, far past the limit in
// time but far below it in work, ends by itself. The system counts work in
// clock ticks, by sampling: each burst is some ticks long (about 20 ms), so
// that no second of the run goes by without one counted.
TEST_F(PluginBuild, ACompilerThatKeepsWorkingSlowlyIsNotStopped) {
    DLL::BuildSettings().timeLimit = std::chrono::milliseconds(1000);
    DLL::BuildSettings().compiler = StandIn(
        "n=0\nwhile [ $n -lt 15 ]; do\n  i=0; while [ $i -lt 10000 ]; do i=$((i+1)); done\n  sleep 0.2; n=$((n+1))\n"
        "done\necho done\nexit 0");
    const std::string source = Source("s.cpp", "int x;\n");
    DLL::buildErrors.clear();
    DLL::CompileDLL(source, false);
    for (const BuildMessage& m : DLL::buildErrors) ADD_FAILURE() << m.text;
}

TEST_F(PluginBuild, TargetsAreNumberedAndTheCompilersDiagnosticsAreRead) {
    DLL::BuildSettings().compiler =
        StandIn("echo 'TEMP.cpp:12:5: error: expected a thing'\necho 'TEMP.cpp:3:1: warning: unused'\nexit 1");
    const std::string source = Source("s.cpp", "int x;\n");
    DLL::buildCounter = 3;
    EXPECT_EQ(DLL::CompileDLL(source, false), folder / "Editor/tempDLL3.so");
    EXPECT_EQ(DLL::buildCounter, 4);
    EXPECT_EQ(DLL::CompileAndLoadDLL(source), nullptr);
    EXPECT_EQ(DLL::buildCounter, 5);  // a failed load builds once, not twice
    ASSERT_EQ(DLL::buildErrors.size(), 1u);
    EXPECT_EQ(DLL::buildErrors[0].file, "TEMP.cpp");
    EXPECT_EQ(DLL::buildErrors[0].where, "12:5");
    EXPECT_EQ(DLL::buildErrors[0].text, "expected a thing");
    ASSERT_EQ(DLL::buildWarnings.size(), 1u);
    EXPECT_EQ(DLL::buildWarnings[0].where, "3:1");
    std::string text;
    ASSERT_TRUE(DLL::ReadTextFile(folder / "TEMP.cpp", text));
    EXPECT_EQ(text, "int x;\n");
}

TEST_F(PluginBuild, TheReportAndTheTextFiles) {
    DLL::buildErrors = {{"F", "E", "P"}};
    CppData stencil;
    stencil.kind = "EXOBJECT";
    DLL::MakeComplexDLL(stencil);
    EXPECT_EQ(DLL::LastReport(), "File update failed.\n\nErrors:\n\nE (F, P)\n\nWarnings:\n\n");
    // Nothing failed: the report does not say it did.
    DLL::buildErrors.clear();
    DLL::MakeComplexDLL(stencil);
    EXPECT_EQ(DLL::LastReport(), "File updated.");
    DLL::buildWarnings = {{"F", "W", "P"}};
    DLL::MakeComplexDLL(stencil);
    EXPECT_EQ(DLL::LastReport(), "File updated.\n\nErrors:\n\n\nWarnings:\n\nW (F, P)\n");

    const std::string path = folder / "text.txt";
    WriteFile(path, "one\r\ntwo");
    DLL::ResaveFile(path);
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(all, "one\ntwo\n");
    std::string project;
    DLL::CopyProjectFile("Probe.cpp", project);
    EXPECT_EQ(project, "Probe.cpp");
}

// The other kinds a script replaces: an engine, a level and the game. Each
// is built twice; what was made from the first build keeps it, what is made
// after the second has the second's values and behaviour.
TEST_F(PluginBuild, AnEngineALevelAndTheGameAreReplacedAndTheirOldCopiesKeepTheirs) {
    auto script = [](const char* variable, int value, const char* event) {
        return std::string("#Variables\n{\n\tint ") + variable + " = " + std::to_string(value) +
               ";\n}\n\n// Function bound to event\n" + event + "\n{\n\tself->" + variable + " = self->" + variable +
               " + 1;\n}\n";
    };
    auto value = [&](Entity* entity, const char* name) {
        const void* at = _PluginVariable(entity, converter.GetEnumValue(name), name);
        return at != nullptr ? *static_cast<const int*>(at) : -1000;
    };

    // An engine.
    ASSERT_TRUE(Entity::_ReplaceEngine(Convert("ProbeEngine", script("probeRate", 2, "Reset"), "ENGINE").c_str(),
                                       "ProbeEngine", ""))
        << ErrorsText();
    Engine* firstEngine = Engine::_engines["ProbeEngine"];
    ASSERT_NE(firstEngine, nullptr);
    ASSERT_TRUE(Entity::_ReplaceEngine(Convert("ProbeEngine", script("probeRate", 20, "Reset"), "ENGINE").c_str(),
                                       "ProbeEngine", "ProbeEngine"))
        << ErrorsText();
    Engine* secondEngine = Engine::_engines["ProbeEngine"];
    ASSERT_NE(secondEngine, nullptr);
    EXPECT_NE(secondEngine, firstEngine);
    EXPECT_EQ(value(firstEngine, "probeRate"), 2);
    EXPECT_EQ(value(secondEngine, "probeRate"), 20);
    secondEngine->GetEvent("Reset")(secondEngine, secondEngine);
    EXPECT_EQ(value(secondEngine, "probeRate"), 21);
    const auto& retired = RetiredStencils();
    EXPECT_NE(std::find(retired.begin(), retired.end(), firstEngine), retired.end());

    // A level: a state made on it before the second build keeps the first.
    ASSERT_TRUE(Entity::_ReplaceLevel(Convert("ProbeLevel", script("probeLaps", 3, "Update"), "LEVEL").c_str(),
                                      "ProbeLevel", ""))
        << ErrorsText();
    State* first = NewState("ProbeLevel");
    ASSERT_NE(first->GetLevel(), nullptr);
    ASSERT_TRUE(Entity::_ReplaceLevel(Convert("ProbeLevel", script("probeLaps", 30, "Update"), "LEVEL").c_str(),
                                      "ProbeLevel", "ProbeLevel"))
        << ErrorsText();
    State* second = NewState("ProbeLevel");
    ASSERT_NE(second->GetLevel(), nullptr);
    EXPECT_EQ(value(first->GetLevel(), "probeLaps"), 3);
    EXPECT_EQ(value(second->GetLevel(), "probeLaps"), 30);
    second->GetLevel()->DoEvent("Update");
    first->GetLevel()->DoEvent("Update");
    EXPECT_EQ(value(second->GetLevel(), "probeLaps"), 31);
    EXPECT_EQ(value(first->GetLevel(), "probeLaps"), 4);

    // The game: the old one is retired, out of its engines.
    ASSERT_TRUE(
        Entity::_ReplaceGame(Convert("ProbeGame", script("probeLives", 4, "Load"), "GAME").c_str(), "ProbeGame", ""))
        << ErrorsText();
    Game* firstGame = GetMyGame();
    ASSERT_NE(firstGame, nullptr);
    EXPECT_EQ(value(firstGame, "probeLives"), 4);
    ASSERT_TRUE(
        Entity::_ReplaceGame(Convert("ProbeGame", script("probeLives", 40, "Load"), "GAME").c_str(), "ProbeGame", ""))
        << ErrorsText();
    Game* secondGame = GetMyGame();
    ASSERT_NE(secondGame, nullptr);
    EXPECT_NE(secondGame, firstGame);
    EXPECT_EQ(value(secondGame, "probeLives"), 40);
    secondGame->DoEvent("Load");
    EXPECT_EQ(value(secondGame, "probeLives"), 41);
    EXPECT_NE(std::find(retired.begin(), retired.end(), firstGame), retired.end());

    // A failed build of any of them leaves it as it is.
    const std::string broken =
        Convert("ProbeLevel",
                "#Variables\n{\n\tint probeLaps = 5;\n}\n\n// Function bound to event\nUpdate\n{\n\tnothing = 1;\n}\n",
                "LEVEL");
    EXPECT_FALSE(Entity::_ReplaceLevel(broken.c_str(), "ProbeLevel", "ProbeLevel"));
    State* third = NewState("ProbeLevel");
    EXPECT_EQ(value(third->GetLevel(), "probeLaps"), 30);
}

// Under the sanitizers the program's plug-ins are built with the same
// checks: the settings carry the flags, and a built plug-in calls into the
// sanitizers' run-time (it names their entries).
TEST_F(PluginBuild, APluginIsBuiltWithTheProgramsSanitizers) {
    const std::vector<std::string>& flags = DLL::DefaultBuildSettings().flags;
    const bool asanUbsan = std::find(flags.begin(), flags.end(), "-fsanitize=address,undefined") != flags.end();
#ifdef GF_SANITIZED
    EXPECT_TRUE(asanUbsan);
#else
    EXPECT_FALSE(asanUbsan);
#endif
    const std::string source = Convert("Marker",
                                       "#Variables\n{\n\tint probeMarks[4];\n}\n\n"
                                       "// Function bound to event\nTouch\n{\n\tself->probeMarks[1] = 2;\n}\n");
    const int number = DLL::buildCounter;
    ASSERT_NE(DLL::CompileAndLoadDLL(source), nullptr) << ErrorsText();
    std::ifstream in(folder / ("Editor/tempDLL" + std::to_string(number) + ".so"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    const bool asan = bytes.find("__asan_") != std::string::npos;
    const bool ubsan = bytes.find("__ubsan_handle_") != std::string::npos;
#ifdef GF_SANITIZED
    EXPECT_TRUE(asan);
    EXPECT_TRUE(ubsan);
#else
    EXPECT_FALSE(asan);
    EXPECT_FALSE(ubsan);
#endif
}

}  // namespace
