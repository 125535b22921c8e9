// Building a stencil from its properties window and putting it into service
// while the frames go on: the build button and F5 commit both panels, the
// compiler runs as a child process the frames poll, the type is replaced on
// success, and a failed build names the function and line of its error and
// leaves the old type working. Uses the system compiler: without one these
// tests fail.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "converter/CppConvert.h"
#include "converter/DLL.h"
#include "framework/Engine.h"
#include "framework/Globals.h"
#include "framework/Level.h"
#include "framework/TypeReplacement.h"
#include "stencil/StencilBuild.h"
#include "stencil/StencilFuncProp.h"
#include "stencil/StencilStore.h"
#include "stencil/StencilWorld.h"
#include "support/EntityWorld.h"
#include "support/TempFolder.h"

using namespace stenciltest;

namespace {

constexpr float kButtonsY = 0.45f;
constexpr float kApplyX = 0.5f, kAddX = 0.3f;
constexpr float kBuildX = 0.47f, kBuildY = -0.455f;

class StencilBuildTest : public StencilWorld {
protected:
    void SetUp() override {
        StencilWorld::SetUp();
        savedDirectory = Globals.workingDirectory;
        ASSERT_TRUE(CopyPath(Globals.workingDirectory, working.Path()));
        DLL::BuildSettings() = DLL::DefaultBuildSettings();
        world::RegisterThing("Glowworm");
    }
    void TearDown() override {
        DLL::BuildSettings() = DLL::DefaultBuildSettings();
        CopyPath(Globals.workingDirectory, savedDirectory);
        StencilWorld::TearDown();
    }

    ObjectData::StencilObjProp::Variables& Variables() { return Panel(window, "VariableTable"); }
    ObjectData::StencilFuncProp::Variables& Functions() {
        return *ObjectData::StencilFuncProp::Find(window->GetLevel()->GetMyObject("FunctionTable"));
    }

    // The properties window of "Glowworm" with one variable and one engine
    // function, as the modder types them; nothing committed yet.
    void Prepare(const std::string& body) {
        window = OpenProperties("Glowworm", "OBJECT");
        AllFrame();
        AllClick(-0.5f, kButtonsY);  // VARIABLES
        AllClick(kAddX, kButtonsY);
        StencilRows::SetText(Variables().myVariableList[0], "glow");
        StencilRows::SetText(Variables().myObjValueList[0], "7");
        AllClick(-0.3f, kButtonsY);  // functions
        AllClick(kAddX, kButtonsY);
        StencilRows::SetText(Functions().myFuncTypeList[0], "ENGINE");
        StencilRows::SetText(Functions().myFuncNameList[0], "Behavior");
        AllClick(kApplyX, kButtonsY);
        Functions().ObjData.functions[0].code = body;
    }

    // Frames until the build has ended (bounded in real time: the compiler
    // may be slow, never the frames); the frames it took.
    int FramesUntilBuilt() {
        int frames = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (StencilBuild::Busy() && std::chrono::steady_clock::now() < end) {
            AllFrame();
            ++frames;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_FALSE(StencilBuild::Busy()) << "the build did not end";
        return frames;
    }

    // What a variable of a type built from a script holds in entity.
    template <class T>
    static T* Own(Entity* entity, const char* name) {
        return static_cast<T*>(_PluginVariable(entity, cppConvert.VariableNumber(name), name));
    }

    TempFolder working;
    std::string savedDirectory;
    State* window = nullptr;
};

TEST_F(StencilBuildTest, TheBuildButtonCommitsBuildsAndReplacesTheTypeWhileTheFramesGoOn) {
    ASSERT_FALSE(DLL::DefaultBuildSettings().compiler.empty());
    Object* before = Object::MakeCopy(state, "Glowworm", "before");
    Prepare("\n\tself->glow = self->glow + 1;\n");
    AllClick(kBuildX, kBuildY);
    EXPECT_TRUE(StencilBuild::Busy());
    EXPECT_NE(Report(window).find("Building Glowworm"), std::string::npos) << Report(window);
    EXPECT_GT(FramesUntilBuilt(), 0) << "the frames ran while the compiler did";

    const StencilBuild::Status& status = StencilBuild::Current();
    ASSERT_EQ(status.phase, StencilBuild::Phase::Replaced) << status.report;
    EXPECT_EQ(Report(window).rfind("built and replaced Glowworm in ", 0), 0u) << Report(window);
    EXPECT_TRUE(StencilStore::Has("OBJECT", "Glowworm")) << "the build committed both panels";

    // A new copy has the script's variable at its default and runs its
    // engine function every frame; the old copy keeps the old type.
    Object* after = Object::MakeCopy(window, "Glowworm", "after");
    ASSERT_NE(after, nullptr);
    ASSERT_NE(Own<int>(after, "glow"), nullptr);
    EXPECT_EQ(*Own<int>(after, "glow"), 7);
    AllFrames(3);
    EXPECT_EQ(*Own<int>(after, "glow"), 10);
    EXPECT_NE(before->GetParentStencil(), Object::_FindPrototype("Glowworm"));
    EXPECT_TRUE(HasVariable(before, enum_counter));
}

TEST_F(StencilBuildTest, ACppErrorInABodyNamesItsFunctionAndLineAndTheOldTypeStays) {
    Prepare("\n\tself->glow = 1;\n\tundeclaredThing = 2;\n");
    Object* old = Object::_FindPrototype("Glowworm");
    // F5 does what the button does.
    AllTap(SDL_SCANCODE_F5);
    FramesUntilBuilt();
    const StencilBuild::Status& status = StencilBuild::Current();
    ASSERT_EQ(status.phase, StencilBuild::Phase::Failed) << status.report;
    ASSERT_FALSE(status.problems.empty()) << status.report;
    EXPECT_EQ(status.problems[0].function, "Behavior") << status.report;
    EXPECT_EQ(status.problems[0].line, 3) << status.report;
    EXPECT_NE(status.problems[0].text.find("undeclaredThing"), std::string::npos) << status.report;
    EXPECT_NE(Report(window).find("Behavior, line 3: "), std::string::npos) << Report(window);
    EXPECT_NE(Report(window).find("the old Glowworm stays in service"), std::string::npos) << Report(window);
    EXPECT_NE(StencilBuild::ProblemsIn("OBJECT", "Glowworm", "Behavior").find("line 3: "), std::string::npos);
    EXPECT_EQ(Object::_FindPrototype("Glowworm"), old);
    Object* copy = Object::MakeCopy(window, "Glowworm", "copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(HasVariable(copy, enum_counter)) << "a copy of the old type";
}

// An engine and a level are built and put into service as an object type
// is: what is made of them afterwards has the script's variable at its
// default and runs the script's event.
TEST_F(StencilBuildTest, AnEngineAndALevelAreBuiltAndReplacedAsAnObjectTypeIs) {
    struct Case {
        const char* kind;
        const char* name;
        const char* event;
    };
    for (const Case& c : {Case{"ENGINE", "GlowEngine", "Reset"}, Case{"LEVEL", "GlowLevel", "Update"}}) {
        SCOPED_TRACE(c.kind);
        CppData record;
        record.kind = c.kind;
        record.typeName = c.name;
        record.varNames = {"glow"};
        record.varTypes = {"int"};
        record.varValues = {"7"};
        record.functions.push_back({"void", c.event, {}, "EVENT", "\n\tself->glow = self->glow + 1;\n", 0});
        ASSERT_TRUE(StencilStore::CommitAll(record, record).saved);
        ASSERT_TRUE(StencilBuild::Start(c.kind, c.name)) << StencilBuild::Current().report;
        // No editor window is open to take the build on: the test does,
        // once a frame, what they do.
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (StencilBuild::Busy() && std::chrono::steady_clock::now() < end) {
            AllFrame();
            StencilBuild::Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_EQ(StencilBuild::Current().phase, StencilBuild::Phase::Replaced) << StencilBuild::Current().report;

        Entity* made = nullptr;
        if (std::string(c.kind) == "ENGINE") {
            made = Engine::_engines[c.name];
        } else {
            State* play = NewState(c.name);
            made = play->GetLevel();
        }
        ASSERT_NE(made, nullptr);
        ASSERT_NE(Own<int>(made, "glow"), nullptr);
        EXPECT_EQ(*Own<int>(made, "glow"), 7);
        made->DoEvent(c.event);
        EXPECT_EQ(*Own<int>(made, "glow"), 8);
    }
}

// A stand-in compiler that waits for the test's word: while it runs, every
// frame returns at once and the window shows the build going on; the word
// given, the build ends and its report follows.
TEST_F(StencilBuildTest, TheFramesNeverWaitForTheCompiler) {
    const std::string go = working / "go";
    const std::string compiler = working / "slow-compiler";
    {
        std::ofstream out(compiler);
        out << "#!/bin/sh\ni=0\nwhile [ ! -e \"" << go << "\" ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done\n"
            << "echo 'TEMP.cpp:1:1: error: the stand-in says no'\nexit 1\n";
    }
    ::chmod(compiler.c_str(), 0755);
    DLL::BuildSettings().compiler = compiler;
    Prepare("\n\tself->glow = 2;\n");
    AllTap(SDL_SCANCODE_F5);
    for (int i = 0; i < 20; ++i) {
        AllFrame();
        ASSERT_TRUE(StencilBuild::Busy()) << "frame " << i;
    }
    EXPECT_NE(Report(window).find("Building Glowworm... "), std::string::npos) << Report(window);
    { std::ofstream(go) << "go"; }
    FramesUntilBuilt();
    EXPECT_EQ(StencilBuild::Current().phase, StencilBuild::Phase::Failed);
    EXPECT_NE(Report(window).find("the stand-in says no"), std::string::npos) << Report(window);
}

}  // namespace
