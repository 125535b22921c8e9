// The real program, headless, started on the stencil editor by its command
// line and driven only by key and mouse events through the input layer, as a
// new user would try it: a stencil's properties opened with F6, a variable
// added and committed, then the instance editor opened beside a
// single-player game, showing the player's variables with their live values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "converter/CppConvert.h"
#include "objects/Player.h"
#include "platform/window/StateWindows.h"
#include "program/CommandLine.h"
#include "program/StencilListSteps.h"
#include "program/TypeRegistration.h"
#include "stencil/InstanceEditor.h"
#include "stencil/StencilObjProp.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "support/ScriptedProgram.h"
#include "widgets/Text.h"

namespace {

using scripted::ProgramRun;

// Script steps that type text into the box that has the keyboard.
std::string Type(const std::string& text) {
    std::string steps;
    for (char c : text) {
        std::string key;
        bool shift = std::isupper(static_cast<unsigned char>(c)) != 0;
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) key = std::string(1, static_cast<char>(std::toupper(c)));
        if (c == '.') key = ".";
        if (c == '_') {
            key = "-";
            shift = true;
        }
        if (shift) steps += "press Left_Shift\n";
        steps += "tap " + key + "\nwait 3\n";
        if (shift) steps += "release Left_Shift\n";
    }
    return steps;
}
// Clicks into a row at (x, y), right of its text, and erases what it holds.
std::string ClearRow(float x, float y, int letters) {
    std::string steps = "click " + std::to_string(x) + " " + std::to_string(y) + "\nwait 4\n";
    for (int i = 0; i < letters; ++i) steps += "tap Backspace\nwait 3\n";
    return steps;
}

Entity* Find(const std::string& level, const char* name) {
    for (State* state : State::_list)
        if (state->GetLevelName() == level && state->GetLevel() != nullptr) return state->GetLevel()->GetMyObject(name);
    return nullptr;
}
Level* LevelOf(const std::string& level) {
    for (State* state : State::_list)
        if (state->GetLevelName() == level) return state->GetLevel();
    return nullptr;
}

class StencilEditorRunTest : public ProgramRun {
protected:
    void TearDown() override {
        SetStartScreen("");
        ProgramRun::TearDown();
    }
};

TEST_F(StencilEditorRunTest, APropertiesWindowCommitsAVariableAndTheInstanceEditorShowsAPlayersLiveValues) {
    CommandLine line;
    std::string error;
    const char* argv[] = {"glimmerfall", "--start-screen", "StencilEditor"};
    ASSERT_TRUE(ReadCommandLine(3, argv, line, error)) << error;
    SetStartScreen(line.startScreen);

    // "Player" lies past the first 33 rows of the objects list: the list is
    // scrolled by clicks on its bar's lower arrow.
    const std::string choosePlayer = stencilsteps::ChooseObjectType("Player");
    ASSERT_FALSE(choosePlayer.empty());

    std::string script = "level StencilEditor\nwait 20\n" + choosePlayer + "tap F6\n";
    script += "level StencilObjPropLevel\nwait 15\nmark opened\n";
    script += "click -0.5 0.45\nwait 6\n";  // VARIABLES
    script += "click 0.3 0.45\nwait 6\n";   // Add Stencil
    script += ClearRow(-0.31f, 0.3875f, 5) + Type("float");
    script += ClearRow(-0.06f, 0.3875f, 9) + Type("jumpBoost");
    script += ClearRow(0.49f, 0.3875f, 14) + Type("1.5");
    script += "wait 3\nclick 0.5 0.45\nwait 6\nmark committed\n";  // confirm
    script += "mark openGame\nlevel InstanceEditor\nlevel SinglePlayer\nwait 30\n";
    // The game's window shows itself after the instance editor's and may
    // take the focus as it first draws: the next clicks are the instance
    // editor's, as a person clicks into its window first.
    script += "focus InstanceEditor\nwait 5\n";
    script += "click 0.02 0.45\nwait 4\n" + Type("SinglePlayer");
    script += "click 0.02 0.4\nwait 4\n" + Type("Player_0");
    script += "click 0.27 0.4\nwait 10\nmark inspected\nwait 20\nmark later\n";

    std::string title;
    std::vector<std::string> types, names, values;
    bool filed = false;
    std::string filedType;
    struct Look {
        int rows = 0, read = 0, matching = 0;
        std::string player;
    };
    Look inspected, later;
    auto look = [&](Look& l) {
        Level* level = LevelOf("InstanceEditor");
        auto* v = LevelData::InstanceEditor::Find(level);
        Entity* p = Find("SinglePlayer", "Player_0");
        if (v == nullptr || p == nullptr) return;
        l.player = v->theAlmightlyInstance == p ? "inspected" : "not inspected";
        for (std::size_t r = 0; r < v->NameList.size(); ++r) {
            const std::string name = StencilRows::LabelText(v->NameList[r]);
            if (name == LevelData::InstanceEditor::kDashes) continue;
            ++l.rows;
            std::string typeText;
            const void* at = LevelData::InstanceEditor::VariableAddress(p, name, typeText);
            if (at == nullptr) continue;
            ++l.read;
            const std::string shown = StencilRows::Text(v->ValueList[r]);
            l.matching += shown == LevelData::InstanceEditor::ValueText(at, typeText) ? 1 : 0;
        }
    };
    const int status =
        Run(script,
            {{"opened",
              [&] {
                  if (auto* v = LevelData::StencilObjPropLevel::Find(LevelOf("StencilObjPropLevel")))
                      title = ObjectData::Text::Find(v->titleText)->text;
              }},
             {"committed",
              [&] {
                  if (auto* panel = ObjectData::StencilObjProp::Find(Find("StencilObjPropLevel", "VariableTable"))) {
                      types = panel->ObjData.varTypes;
                      names = panel->ObjData.varNames;
                      values = panel->ObjData.varValues;
                  }
                  filed = cppConvert.GetVarList("Player").count("jumpBoost") == 1;
                  filedType = cppConvert.GetVarType("jumpBoost");
              }},
             {"openGame",
              [&] {
                  CreateStateByName("SinglePlayer");
                  CreateStateByName("InstanceEditor");
              }},
             {"inspected", [&] { look(inspected); }},
             {"later", [&] {
                  look(later);
                  SetQuitting(nullptr);
              }}});
    ASSERT_TRUE(runner.has_value());
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(stuckExits.load(), 0);

    EXPECT_EQ(title, "#0xC4BDAD#Player");
    EXPECT_EQ(types, std::vector<std::string>{"float"});
    EXPECT_EQ(names, std::vector<std::string>{"jumpBoost"});
    EXPECT_EQ(values, std::vector<std::string>{"1.5"});
    EXPECT_TRUE(filed) << "GetVarList(\"Player\") holds jumpBoost";
    EXPECT_EQ(filedType, "float");

    for (const Look* l : {&inspected, &later}) {
        EXPECT_EQ(l->player, "inspected");
        EXPECT_EQ(l->rows, 30) << "the player has more than 30 variables";
        EXPECT_GT(l->read, 20);
        EXPECT_EQ(l->matching, l->read) << "every value shown is the player's own, read this frame";
    }
}

TEST(CommandLineTest, TheStartScreenOptionIsReadInBothSpellingsAndBadArgumentsAreRefused) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        std::string screen;
    };
    const Case cases[] = {
        {{"g"}, true, ""},
        {{"g", "--start-screen", "StencilEditor"}, true, "StencilEditor"},
        {{"g", "--start-screen=InstanceEditor"}, true, "InstanceEditor"},
        {{"g", "--start-screen"}, false, ""},
        {{"g", "--start-screen="}, false, ""},
        {{"g", "--frobnicate"}, false, ""},
    };
    for (const Case& c : cases) {
        CommandLine line;
        std::string error;
        EXPECT_EQ(ReadCommandLine(static_cast<int>(c.args.size()), c.args.data(), line, error), c.ok) << c.args.back();
        if (c.ok) {
            EXPECT_EQ(line.startScreen, c.screen);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

}  // namespace
