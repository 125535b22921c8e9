// The modder's loop in the real program, driven only by key and mouse events
// through the input layer: the stencil editor opens a play level beside it
// (F7), a type the level uses gets a variable with a default and an engine
// function whose body is typed fast into the code block (several keys a
// frame), F5 in its properties window builds it with the system compiler and
// replaces the type while the game runs; a new copy in the running level has
// the new value and behaviour, the instance editor (F8) shows the value and
// sets it; then a body with a C++ error: the compiler's line is shown in the
// properties window and the code block, and the type built before stays.
// Without a compiler the build fails and so does this test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "converter/CppConvert.h"
#include "converter/DLL.h"
#include "framework/TypeReplacement.h"
#include "platform/window/GuiWindow.h"
#include "program/CommandLine.h"
#include "program/StencilListSteps.h"
#include "stencil/InstanceEditor.h"
#include "stencil/StencilBuild.h"
#include "stencil/StencilCodeBlock.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"
#include "support/ScriptedProgram.h"
#include "widgets/Text.h"
#include "widgets/TextBox.h"

namespace {

using scripted::ProgramRun;

// The object type the loop changes: every built-in level has its goal.
constexpr char kType[] = "LevelGoal";

// Press and release steps for text, all in one frame (nothing waits between
// them): as fast as anyone types, and faster. Shift goes down around each
// capital and shifted symbol.
std::string TypeFast(const std::string& text) {
    struct Key {
        char c;
        const char* name;
        bool shift;
    };
    static const Key symbols[] = {{' ', "Space", false}, {'=', "=", false}, {'+', "=", true},  {';', ";", false},
                                  {'-', "-", false},     {'>', ".", true},  {'.', ".", false}, {'\n', "Return", false},
                                  {'_', "-", true},      {'(', "9", true},  {')', "0", true}};
    std::string steps;
    for (char c : text) {
        std::string name;
        bool shift = false;
        if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
            name = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
            shift = std::isupper(static_cast<unsigned char>(c)) != 0;
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            name = std::string(1, c);
        } else {
            for (const Key& k : symbols)
                if (k.c == c) {
                    name = k.name;
                    shift = k.shift;
                }
        }
        if (name.empty()) ADD_FAILURE() << "no key for '" << c << "'";
        if (shift) steps += "press Left_Shift\n";
        steps += "press " + name + "\nrelease " + name + "\n";
        if (shift) steps += "release Left_Shift\n";
    }
    return steps + "wait 3\n";
}

// A row clicked near its left end, its text erased and new text typed.
std::string Retype(float x, float y, const std::string& text) {
    std::string steps = "click " + std::to_string(x) + " " + std::to_string(y) + "\nwait 4\n";
    // A key up for a frame between two taps: a tap let go and pressed again
    // within one poll of the input thread reads as held.
    for (int i = 0; i < 14; ++i) steps += "tap Delete\nwait 3\n";
    for (int i = 0; i < 14; ++i) steps += "tap Backspace\nwait 3\n";
    return steps + TypeFast(text);
}

State* Showing(const std::string& level) {
    State* found = nullptr;
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevelName() == level && state->GetLevel() != nullptr) found = state;
    return found;
}

std::string CodeBlockText() {
    State* block = Showing("StencilCodeBlock");
    auto* d = block != nullptr ? LevelData::StencilCodeBlock::Find(block->GetLevel()) : nullptr;
    auto* box = d != nullptr ? ObjectData::TextBox::Find(d->codeBlock) : nullptr;
    auto* t = box != nullptr ? ObjectData::Text::Find(box->textObject) : nullptr;
    return t != nullptr ? t->text : std::string("(no code block)");
}
std::string CodeBlockMessage() {
    State* block = Showing("StencilCodeBlock");
    auto* d = block != nullptr ? LevelData::StencilCodeBlock::Find(block->GetLevel()) : nullptr;
    return d != nullptr ? StencilRows::LabelText(d->message) : std::string("(no code block)");
}
std::string PropertiesReport() {
    State* window = Showing("StencilObjPropLevel");
    auto* v = window != nullptr ? LevelData::StencilObjPropLevel::Find(window->GetLevel()) : nullptr;
    return v != nullptr ? StencilRows::LabelText(v->report) : std::string("(no properties window)");
}
int Glow(Entity* entity) {
    const void* at = _PluginVariable(entity, cppConvert.VariableNumber("glow"), "glow");
    return at != nullptr ? *static_cast<const int*>(at) : -1000;
}

class ModderLoopTest : public ProgramRun {
protected:
    void SetUp() override {
        ProgramRun::SetUp();
        // The builder works in the program's working directory.
        char here[4096];
        ASSERT_NE(::getcwd(here, sizeof here), nullptr);
        before = here;
        std::filesystem::create_directories(home / "work");
        ASSERT_EQ(::chdir((home / "work").c_str()), 0);
        DLL::BuildSettings() = DLL::DefaultBuildSettings();
    }
    void TearDown() override {
        SetStartScreen("");
        EXPECT_EQ(::chdir(before.c_str()), 0);
        ProgramRun::TearDown();
    }
    std::string before;
};

TEST_F(ModderLoopTest, ABodyTypedInTheCodeBlockIsBuiltAndReplacesATypeOfTheRunningLevel) {
    ASSERT_FALSE(DLL::DefaultBuildSettings().compiler.empty());
    SetStartScreen("StencilEditor");

    const std::string chooseType = stencilsteps::ChooseObjectType(kType);
    ASSERT_FALSE(chooseType.empty());
    const std::string body = "self->glow = self->glow + 1;";

    // The play window takes the focus as it first draws, which on a busy
    // machine can come well after its level shows: the focus goes back to
    // the editor only once it has, as a person clicks back after seeing it.
    std::string script =
        "level StencilEditor\nwait 20\ntap F7\nlevel SinglePlayer\nawait playDrawn\nwait 30\nmark playing\n";
    script += "focus StencilEditor\nwait 5\n";
    script += chooseType + "tap F6\nlevel StencilObjPropLevel\nwait 15\n";
    script += "click -0.5 0.45\nwait 6\nclick 0.3 0.45\nwait 6\n";  // VARIABLES, Add
    script += Retype(-0.49f, 0.3875f, "int") + Retype(-0.24f, 0.3875f, "glow") + Retype(0.01f, 0.3875f, "7");
    script += "click -0.3 0.45\nwait 6\nclick 0.3 0.45\nwait 6\n";  // functions, Add
    script += Retype(0.21f, 0.3875f, "ENGINE") + Retype(-0.21f, 0.3875f, "Behavior");
    script += "click 0.5 0.45\nwait 6\n";  // confirm: the code block opens on the name as committed
    script += "click -0.21 0.3875\nwait 6\ntap F6\nlevel StencilCodeBlock\nwait 15\n";
    script += "click 0 0\nwait 6\n" + TypeFast(body) + "click 0.5 0.45\nwait 10\nmark typed\n";
    script +=
        "focus StencilObjPropLevel\nwait 5\ntap F5\nlimit 20000\nawait built\nlimit 3000\nwait 5\nmark replaced\n";
    script += "focus SinglePlayer\nwait 10\nmark later\n";
    // The instance editor on the new copy: its value shown and set.
    script += "focus StencilEditor\nwait 5\ntap F8\nlevel InstanceEditor\nwait 15\n";
    script += Retype(-0.17f, 0.4f, "fresh") + "click 0.27 0.4\nwait 10\nmark inspected\n";
    script += Retype(0.06f, 0.35f, "100") + "tap Return\nwait 4\nmark edited\n";
    // A C++ error: a second line that names nothing.
    script += "focus StencilCodeBlock\nwait 5\nclick 0.4 -0.3\nwait 6\n" + TypeFast("\nnothing = 2;") +
              "click 0.5 0.45\nwait 10\nmark broken\n";
    script += "focus StencilObjPropLevel\nwait 5\ntap F5\nlimit 20000\nawait built\nlimit 3000\nwait 5\nmark failed\n";

    std::string typed, replacedReport, failedReport, failedMessage, broken;
    StencilBuild::Phase replacedPhase = StencilBuild::Phase::Idle, failedPhase = StencilBuild::Phase::Idle;
    Object* built = nullptr;
    Object* stillBuilt = nullptr;
    Object* fresh = nullptr;
    int freshStart = -1000, freshLater = -1000, oldGoals = 0, oldGoalsKept = 0, shownGlow = -1000, edited = -1000;
    bool playing = false;
    int buildNumber = 0;
    const int status =
        Run(script,
            {{"playing", [&] { playing = Showing("SinglePlayer") != nullptr && Showing("StencilEditor") != nullptr; }},
             {"typed", [&] { typed = CodeBlockText(); }},
             {"replaced",
              [&] {
                  replacedPhase = StencilBuild::Current().phase;
                  replacedReport = PropertiesReport();
                  // What was built, should it have failed.
                  if (replacedPhase != StencilBuild::Phase::Replaced)
                      replacedReport +=
                          "\n--- the script:\n" + scripted::ReadFile(StencilStore::ScriptPath("OBJECT", kType));
                  buildNumber = StencilBuild::Current().number;
                  built = Object::_FindPrototype(kType);
                  State* play = Showing("SinglePlayer");
                  if (play == nullptr) return;
                  // The goal the level made before keeps the old type.
                  for (Object* o : play->Objects())
                      if (o->GetType() == kType && o->GetParentStencil() != built) ++oldGoals;
                  // Made as the level makes its objects: in its own frame's state.
                  State* remembered = State::_currentState;
                  State::_currentState = play;
                  fresh = Object::MakeCopy(play, kType, "fresh");
                  State::_currentState = remembered;
                  if (fresh != nullptr) freshStart = Glow(fresh);
              }},
             {"later",
              [&] {
                  if (fresh != nullptr) freshLater = Glow(fresh);
              }},
             {"inspected",
              [&] {
                  State* editor = Showing("InstanceEditor");
                  auto* v = editor != nullptr ? LevelData::InstanceEditor::Find(editor->GetLevel()) : nullptr;
                  if (v == nullptr || v->NameList.empty()) return;
                  if (StencilRows::LabelText(v->NameList[0]) == "glow")
                      shownGlow = std::atoi(StencilRows::Text(v->ValueList[0]).c_str());
              }},
             {"edited",
              [&] {
                  if (fresh != nullptr) edited = Glow(fresh);
              }},
             {"broken", [&] { broken = CodeBlockText(); }},
             {"failed",
              [&] {
                  failedPhase = StencilBuild::Current().phase;
                  failedReport = PropertiesReport();
                  failedMessage = CodeBlockMessage();
                  stillBuilt = Object::_FindPrototype(kType);
                  State* play = Showing("SinglePlayer");
                  if (play != nullptr)
                      for (Object* o : play->Objects())
                          if (o->GetType() == kType && o->GetParentStencil() != built) ++oldGoalsKept;
                  SetQuitting(nullptr);
              }}},
            {{"built", [&] { return !StencilBuild::Busy() && StencilBuild::Current().number > buildNumber; }},
             {"playDrawn", [&] {
                  State* play = Showing("SinglePlayer");
                  return play != nullptr && play->window != nullptr && play->window->GetActive();
              }}});
    ASSERT_TRUE(runner.has_value());
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);

    EXPECT_TRUE(playing) << "the play level runs beside the stencil editor";
    EXPECT_EQ(typed, body) << "every key typed in one frame, in order, in its case";
    EXPECT_EQ(replacedPhase, StencilBuild::Phase::Replaced) << replacedReport;
    EXPECT_EQ(replacedReport.rfind(std::string("built and replaced ") + kType + " in ", 0), 0u) << replacedReport;
    EXPECT_GT(oldGoals, 0) << "the level's own goal, made before, keeps its type";
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(freshStart, 7) << "a new copy starts at the default";
    EXPECT_GT(freshLater, freshStart) << "and runs its engine function every frame";
    EXPECT_GE(shownGlow, freshStart) << "the instance editor shows the new copy's value";
    EXPECT_GE(edited, 100) << "a value set in the instance editor is the entity's";
    EXPECT_LT(edited, 100 + 1000);

    EXPECT_EQ(broken, body + "\nnothing = 2;");
    EXPECT_EQ(failedPhase, StencilBuild::Phase::Failed) << failedReport;
    EXPECT_NE(failedReport.find("Behavior, line 2: "), std::string::npos) << failedReport;
    EXPECT_NE(failedReport.find("nothing"), std::string::npos) << failedReport;
    EXPECT_NE(failedMessage.find("line 2: "), std::string::npos) << failedMessage;
    EXPECT_EQ(stillBuilt, built) << "the type built before stays in service";
    EXPECT_EQ(oldGoalsKept, oldGoals);
}

}  // namespace
