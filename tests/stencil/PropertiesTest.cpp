// The properties window: its title and tabs, the variables panel's rows and
// buttons, the commit into the record and the converter, and the two panels
// swapped by the tabs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "converter/CppConvert.h"
#include "stencil/StencilFuncProp.h"
#include "stencil/StencilWorld.h"
#include "widgets/Button.h"
#include "widgets/Text.h"

using namespace stenciltest;

namespace {

constexpr float kButtonsY = 0.45f;
constexpr float kApplyX = 0.5f, kAddX = 0.3f, kDeleteX = 0.4f;
constexpr float kFirstRowY = 0.3875f;

class PropertiesTest : public StencilWorld {
protected:
    State* Open(const std::string& name) {
        window = OpenProperties(name, "OBJECT");
        AllFrame();
        return window;
    }
    void ShowVariables() { AllClick(-0.5f, 0.45f); }
    void ShowFunctions() { AllClick(-0.3f, 0.45f); }
    void Press(float x) { AllClick(x, kButtonsY); }
    ObjectData::StencilObjProp::Variables& P() { return Panel(window); }
    const CppData& Record() { return P().ObjData; }
    float ButtonX(Object* button) { return Position(button).x; }
    // Hiding and showing move a piece by adding and taking away 10 units.
    static constexpr float kNear = 1e-5f * 16.0f;

    State* window = nullptr;
};

TEST_F(PropertiesTest, AFreshWindowShowsItsTitleTheTabsAndTheFunctionsPanelWithTheVariablesOffScreen) {
    Open("Player");
    auto& level = *LevelData::StencilObjPropLevel::Find(window->GetLevel());
    const ObjectData::Text::Variables& title = *ObjectData::Text::Find(level.titleText);
    EXPECT_EQ(title.text, "#0xC4BDAD#Player");
    EXPECT_TRUE(title.settings.colorize);
    for (const auto& [tab, x, label] :
         {std::tuple{"VariableTab", -0.5f, "VARIABLES"}, {"FunctionTab", -0.3f, "functions"}}) {
        const auto& b = VariablesOf<ObjectData::Button::Variables>(window->GetLevel()->GetMyObject(tab));
        EXPECT_STREQ(b.texture, label);
        EXPECT_FLOAT_EQ(b.position.x, x);
        EXPECT_FLOAT_EQ(b.position.y, 0.45f);
        EXPECT_EQ(b.master, window->GetLevel());
    }
    EXPECT_FALSE(*FindVariable<bool>(window->GetLevel()->GetMyObject("FunctionTable"), enum_hide));
    EXPECT_TRUE(P().oldHideState);
    for (const auto& [button, x] :
         {std::pair{P().applyButton, kApplyX}, {P().addButton, kAddX}, {P().deleteButton, kDeleteX}})
        EXPECT_NEAR(ButtonX(button), x + 10.0f, kNear);
    // The tool tips say what the panel's rows are.
    EXPECT_EQ(VariablesOf<ObjectData::Button::Variables>(P().addButton).toolTip, "Adds a variable");
    EXPECT_EQ(VariablesOf<ObjectData::Button::Variables>(P().deleteButton).toolTip, "Removes the chosen variable");
    // The record names its stencil before anything is committed.
    EXPECT_EQ(Record().kind, "OBJECT");
    EXPECT_EQ(Record().typeName, "Player");
}

TEST_F(PropertiesTest, TheTabsSwapThePanelsByTenUnits) {
    Open("Player");
    Object* otherAdd = *FindVariable<Object*>(window->GetLevel()->GetMyObject("FunctionTable"), enum_addButton);
    ShowFunctions();
    EXPECT_NEAR(ButtonX(P().addButton), kAddX + 10.0f, kNear);
    EXPECT_NEAR(ButtonX(otherAdd), kAddX, kNear);
    ShowVariables();
    EXPECT_NEAR(ButtonX(P().addButton), kAddX, kNear);
    EXPECT_NEAR(ButtonX(otherAdd), kAddX + 10.0f, kNear);
    ShowFunctions();
    EXPECT_NEAR(ButtonX(P().addButton), kAddX + 10.0f, kNear);
}

TEST_F(PropertiesTest, AddAloneLeavesDashesAndConfirmTakesTheRowTextsAndFilesThemUnderTheStencilsName) {
    Open("PropertiesProbe");
    ShowVariables();
    Press(kAddX);
    ASSERT_EQ(P().myTypeList.size(), 1u);
    EXPECT_EQ(Texts(P().myTypeList), std::vector<std::string>{"int"});
    EXPECT_EQ(Texts(P().myVariableList), std::vector<std::string>{"DEFAULT"});
    EXPECT_EQ(Texts(P().myObjValueList), std::vector<std::string>{"INSERT VALUE"});
    EXPECT_FLOAT_EQ(Position(P().myVariableList[0]).y, kFirstRowY);
    for (const auto* list : {&Record().varNames, &Record().varTypes, &Record().varValues})
        EXPECT_EQ(*list, std::vector<std::string>{"------"});

    Press(kAddX);
    EXPECT_FLOAT_EQ(Position(P().myObjValueList[1]).y, kFirstRowY - 0.025f);
    StencilRows::SetText(P().myVariableList[1], "probeSpeed");
    StencilRows::SetText(P().myTypeList[1], "float");
    Press(kApplyX);
    EXPECT_EQ(Record().varTypes, (std::vector<std::string>{"int", "float"}));
    EXPECT_EQ(Record().varNames, (std::vector<std::string>{"DEFAULT", "probeSpeed"}));
    EXPECT_EQ(Record().varValues, (std::vector<std::string>{"INSERT VALUE", "INSERT VALUE"}));
    const std::set<std::string> filed = cppConvert.GetVarList("PropertiesProbe");
    EXPECT_EQ(filed.count("probeSpeed"), 1u);
    EXPECT_EQ(cppConvert.GetVarType("probeSpeed"), "float");
}

TEST_F(PropertiesTest, DeletingTheChosenRowRemovesThatIndexFromTheColumnsAndTheRecord) {
    Open("Player");
    ShowVariables();
    for (int i = 0; i < 3; ++i) Press(kAddX);
    for (int i = 0; i < 3; ++i) StencilRows::SetText(P().myVariableList[i], std::string(1, static_cast<char>('a' + i)));
    Press(kApplyX);
    Press(kDeleteX);
    EXPECT_EQ(P().myVariableList.size(), 3u) << "nothing chosen yet: nothing removed";

    Object* removed = P().myObjValueList[1];
    AllClick(0.25f, kFirstRowY - 0.025f);  // the value row of index 1
    EXPECT_EQ(P().lastSelectedVariable, 1);
    Press(kDeleteX);
    EXPECT_EQ(Texts(P().myVariableList), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(P().myTypeList.size(), 2u);
    EXPECT_EQ(P().myObjValueList.size(), 2u);
    EXPECT_EQ(std::count(P().myObjValueList.begin(), P().myObjValueList.end(), removed), 0);
    EXPECT_EQ(Record().varNames, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(Record().varTypes.size(), 2u);
    EXPECT_EQ(Record().varValues.size(), 2u);
    EXPECT_FLOAT_EQ(Position(P().myVariableList[1]).y, kFirstRowY - 0.05f) << "the rows below keep their places";
    EXPECT_EQ(P().lastSelectedVariable, -1);
}

TEST_F(PropertiesTest, ARecordOfFortyGetsThirtyTwoRowsAndConfirmCopiesOnlyThose) {
    window = NewState("StencilObjPropLevel");
    auto& level = *LevelData::StencilObjPropLevel::Find(window->GetLevel());
    level.objName = "Player";
    level.objType = "OBJECT";
    CppData& d = P().ObjData;
    for (int i = 0; i < 40; ++i) {
        d.varNames.push_back("v" + std::to_string(i));
        d.varTypes.push_back("int");
        d.varValues.push_back(std::to_string(i));
    }
    window->GetLevel()->DoEvent("Init");
    AllFrame();
    EXPECT_EQ(P().myVariableList.size(), 32u);
    EXPECT_EQ(P().myTypeList.size(), 32u);
    EXPECT_EQ(P().myObjValueList.size(), 32u);
    EXPECT_EQ(StencilRows::Text(P().myObjValueList[31]), "31");
    ShowVariables();
    StencilRows::SetText(P().myVariableList[0], "first");
    Press(kApplyX);
    EXPECT_EQ(Record().varNames[0], "first");
    EXPECT_EQ(Record().varNames[35], "v35");
    EXPECT_EQ(Record().varNames.size(), 40u);

    // A variable added to such a record stands where its row does, after the
    // rows, and the variables without rows move down: none is overwritten.
    Press(kAddX);
    ASSERT_EQ(P().myVariableList.size(), 33u);
    StencilRows::SetText(P().myVariableList[32], "added");
    Press(kApplyX);
    ASSERT_EQ(Record().varNames.size(), 41u);
    EXPECT_EQ(Record().varNames[32], "added");
    EXPECT_EQ(Record().varNames[33], "v32");
    EXPECT_EQ(Record().varNames[40], "v39");
    EXPECT_EQ(Record().varValues[33], "32");
}

// What the modder commits stays: a window opened on the stencil again shows
// it, and so does one opened after the program starts again (the store read
// back from the data folder), from the script saved there.
TEST_F(PropertiesTest, ACommittedStencilStaysForTheRunAndIsReadBackFromItsSavedScript) {
    auto commitBoth = [&] {
        Open("Player");
        ShowVariables();
        Press(kAddX);
        StencilRows::SetText(P().myTypeList[0], "float");
        StencilRows::SetText(P().myVariableList[0], "jumpBoost");
        StencilRows::SetText(P().myObjValueList[0], "1.5");
        Press(kApplyX);
        ShowFunctions();
        Press(kAddX);
        auto& functions = *ObjectData::StencilFuncProp::Find(window->GetLevel()->GetMyObject("FunctionTable"));
        StencilRows::SetText(functions.myFuncNameList[0], "OnHit");
        Press(kApplyX);
        State::SetLevel(window, "Quit");
        AllFrames(2);
    };
    auto expectCommitted = [&](const char* when) {
        Open("Player");
        EXPECT_EQ(Record().varNames, std::vector<std::string>{"jumpBoost"}) << when;
        EXPECT_EQ(Record().varValues, std::vector<std::string>{"1.5"}) << when;
        EXPECT_EQ(Texts(P().myVariableList), std::vector<std::string>{"jumpBoost"}) << when;
        auto& functions = *ObjectData::StencilFuncProp::Find(window->GetLevel()->GetMyObject("FunctionTable"));
        ASSERT_EQ(functions.ObjData.functions.size(), 1u) << when;
        EXPECT_EQ(functions.ObjData.functions[0].name, "OnHit") << when;
        EXPECT_EQ(Texts(functions.myFuncNameList), std::vector<std::string>{"OnHit"}) << when;
        State::SetLevel(window, "Quit");
        AllFrames(2);
    };
    commitBoth();
    expectCommitted("opened again in the same run");

    const std::string script = user->root + "/Stencils/Objects/Player.script";
    std::ifstream in(script);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("float jumpBoost = 1.5;"), std::string::npos) << text;
    EXPECT_NE(text.find("OnHit"), std::string::npos) << text;

    StencilStore::Reload();  // as the program starting again
    expectCommitted("opened after the program started again");
}

// A commit says what it did, in the window and in the log; nothing says it
// failed when nothing did.
TEST_F(PropertiesTest, ACommitReportsInTheWindowAndTheLogWithoutAFailureWhenNothingFailed) {
    Open("Player");
    ShowVariables();
    Press(kAddX);
    StencilRows::SetText(P().myVariableList[0], "glow");
    testing::internal::CaptureStderr();
    Press(kApplyX);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.find("File update failed."), std::string::npos) << log;
    EXPECT_NE(log.find("Committed Player: 1 variable, 0 functions. Saved as"), std::string::npos) << log;
    EXPECT_NE(Report(window).find("Committed Player: 1 variable, 0 functions. Saved as"), std::string::npos)
        << Report(window);
}

TEST_F(PropertiesTest, APanelThatRunsBeforeItsWindowsInitStillHidesByTenUnits) {
    Object* panel = Make("StencilObjProp");
    auto& v = *ObjectData::StencilObjProp::Find(panel);
    v.ObjData.varNames = {"x"};
    v.ObjData.varTypes = {"int"};
    v.ObjData.varValues = {"1"};
    panel->DoEvent("Init");
    Frame();
    ASSERT_EQ(v.myTypeList.size(), 1u);
    EXPECT_FLOAT_EQ(Position(v.myTypeList[0]).x, v.TypeListX + 10.0f);
    EXPECT_FLOAT_EQ(Position(v.applyButton).x, kApplyX + 10.0f);
}

}  // namespace
