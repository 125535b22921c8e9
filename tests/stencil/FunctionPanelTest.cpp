// The functions panel through the real widgets and input: its rows and
// buttons, adding, committing and removing functions, the choice of a row,
// hiding, and F6 opening the chosen function's code block.
#include <gtest/gtest.h>

#include "stencil/FunctionWorld.h"

using namespace functest;

namespace {

class FunctionPanelTest : public FunctionWorld {};

TEST_F(FunctionPanelTest, ANewPanelShowsNoRowsAndItsThreeButtons) {
    Object* early = Make("StencilFuncProp");
    EXPECT_EQ(ObjectData::StencilFuncProp::Find(early)->hideOffset, 10.0f) << "a panel not yet placed";
    EXPECT_EQ(ObjectData::StencilFuncProp::Find(early)->clickedStencil, "nothing");
    early->_Delete();

    auto& v = OpenPanel();
    EXPECT_TRUE(v.myFuncTypeList.empty());
    EXPECT_TRUE(v.myReturnList.empty());
    EXPECT_TRUE(v.myFuncNameList.empty());
    struct Expected {
        Object* button;
        const char* label;
        const char* toolTip;
        float x;
    };
    for (const Expected& e : {Expected{v.applyButton, "confirm", "Apply changes", 0.5f},
                              Expected{v.addButton, "Add Stencil", "Adds a function", 0.3f},
                              Expected{v.deleteButton, "Delete Stencil", "Removes the chosen function", 0.4f}}) {
        ASSERT_NE(e.button, nullptr) << e.label;
        EXPECT_EQ(Label(e.button), e.label);
        EXPECT_EQ(*FindVariable<std::string>(e.button, enum_toolTip), e.toolTip);
        EXPECT_EQ(*FindVariable<Entity*>(e.button, enum_master), panel);
        EXPECT_FLOAT_EQ(Place(e.button).x, e.x);
        EXPECT_FLOAT_EQ(Place(e.button).y, 0.45f);
        EXPECT_FLOAT_EQ(FindVariable<D3DXVECTOR2>(e.button, enum_size)->x, 30.0f / 720.0f);
    }
}

TEST_F(FunctionPanelTest, InitMakesARowPerFunctionWithNoLimit) {
    auto& v = OpenPanel(Functions(40));
    ASSERT_EQ(v.myFuncNameList.size(), 40u);
    ASSERT_EQ(v.myFuncTypeList.size(), 40u);
    ASSERT_EQ(v.myReturnList.size(), 40u);
    for (std::size_t i : {0u, 1u, 39u}) {
        SCOPED_TRACE(i);
        const float y = 0.3875f - 0.025f * static_cast<float>(i);
        EXPECT_EQ(RowText(v.myFuncTypeList[i]), v.ObjData.functions[i].functionType);
        EXPECT_EQ(RowText(v.myReturnList[i]), v.ObjData.functions[i].returnType);
        EXPECT_EQ(RowText(v.myFuncNameList[i]), v.ObjData.functions[i].name);
        EXPECT_NEAR(Place(v.myFuncTypeList[i]).x, 0.3f, 1e-6f);
        EXPECT_NEAR(Place(v.myReturnList[i]).x, -0.4f, 1e-6f);
        EXPECT_NEAR(Place(v.myFuncNameList[i]).x, -0.05f, 1e-6f);
        EXPECT_NEAR(Place(v.myFuncNameList[i]).y, y, 1e-5f);
        EXPECT_NEAR(FindVariable<D3DXVECTOR2>(v.myFuncNameList[i], enum_size)->x, 0.35f, 1e-6f);
        EXPECT_NEAR(FindVariable<D3DXVECTOR2>(v.myReturnList[i], enum_size)->x, 0.2f, 1e-6f);
    }
}

TEST_F(FunctionPanelTest, AddThenConfirmTakesTheRowTextsNotThePlaceholder) {
    auto& v = OpenPanel();
    PressPanelButton(v.addButton);
    ASSERT_EQ(v.ObjData.functions.size(), 1u);
    EXPECT_EQ(v.ObjData.functions[0].functionType, "------") << "added, not yet committed";
    EXPECT_EQ(v.ObjData.functions[0].name, "");
    ASSERT_EQ(v.myFuncNameList.size(), 1u);
    EXPECT_EQ(RowText(v.myFuncTypeList[0]), "EVENT");
    EXPECT_EQ(RowText(v.myReturnList[0]), "void");
    EXPECT_EQ(RowText(v.myFuncNameList[0]), "DEFAULT");
    EXPECT_NEAR(Place(v.myFuncNameList[0]).y, 0.3875f, 1e-6f) << "an empty column starts at the first row";

    PressPanelButton(v.addButton);
    ASSERT_EQ(v.myFuncNameList.size(), 2u);
    EXPECT_NEAR(Place(v.myFuncNameList[1]).y, 0.3625f, 1e-6f);
    SetRowText(v.myFuncNameList[1], "OnPoke");

    PressPanelButton(v.applyButton);
    ASSERT_EQ(v.ObjData.functions.size(), 2u);
    EXPECT_EQ(v.ObjData.functions[0].functionType, "EVENT");
    EXPECT_EQ(v.ObjData.functions[0].returnType, "void");
    EXPECT_EQ(v.ObjData.functions[0].name, "DEFAULT");
    EXPECT_EQ(v.ObjData.functions[1].name, "OnPoke");
    EXPECT_EQ(v.clickedStencil, "nothing");
}

TEST_F(FunctionPanelTest, F6OnAChosenNameOpensItsCodeBlockWithTheCommittedName) {
    auto& v = OpenPanel(Functions(3));
    SetRowText(v.myFuncNameList[2], "renamedButNotCommitted");
    ChooseName(2);
    EXPECT_EQ(v.lastSelectedVariable, 2);
    EXPECT_EQ(ShowingOne("StencilCodeBlock"), nullptr);
    Tap(SDL_SCANCODE_F6);
    State* dialog = ShowingOne("StencilCodeBlock");
    ASSERT_NE(dialog, nullptr);
    auto* d = LevelData::StencilCodeBlock::Find(dialog->GetLevel());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->functionIndex, 2);
    EXPECT_EQ(d->desiredStencilName, "f2");
    EXPECT_EQ(d->objName, "Player");
    EXPECT_EQ(d->objType, "OBJECT");
    EXPECT_FALSE(d->fail);
    EXPECT_EQ(d->myFunc.code, v.ObjData.functions[2].code);
    EXPECT_EQ(Showing("StencilCodeBlock").size(), 1u) << "one window per press";
}

TEST_F(FunctionPanelTest, F6OpensNothingWithoutAChoiceOrWhileHidden) {
    auto& v = OpenPanel(Functions(3));
    Tap(SDL_SCANCODE_F6);
    EXPECT_EQ(ShowingOne("StencilCodeBlock"), nullptr) << "no row chosen";

    ChooseName(1);
    const float x = Place(v.myFuncNameList[1]).x;
    v.hide = true;
    AllFrame();
    EXPECT_TRUE(v.oldHideState);
    EXPECT_NEAR(Place(v.myFuncNameList[1]).x, x + 10.0f, 1e-5f);
    EXPECT_NEAR(Place(v.applyButton).x, 10.5f, 1e-5f);
    Tap(SDL_SCANCODE_F6);
    EXPECT_EQ(ShowingOne("StencilCodeBlock"), nullptr) << "hidden";

    v.hide = false;
    AllFrame();
    EXPECT_NEAR(Place(v.myFuncNameList[1]).x, x, 1e-5f);
    EXPECT_NEAR(Place(v.applyButton).x, 0.5f, 1e-5f);
    Tap(SDL_SCANCODE_F6);
    EXPECT_NE(ShowingOne("StencilCodeBlock"), nullptr) << "shown again, the choice kept";
}

TEST_F(FunctionPanelTest, TheChoiceSurvivesAClickOutsideTheRows) {
    auto& v = OpenPanel(Functions(3));
    ChooseName(1);
    AllClick(0.0f, -0.4f);
    EXPECT_FALSE(ObjectData::SingleLineTextBox::Find(v.myFuncNameList[1])->selected);
    EXPECT_EQ(v.lastSelectedVariable, 1);
    Tap(SDL_SCANCODE_F6);
    State* dialog = ShowingOne("StencilCodeBlock");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(LevelData::StencilCodeBlock::Find(dialog->GetLevel())->functionIndex, 1);
}

TEST_F(FunctionPanelTest, DeletingFunction1Of3MovesElement2UpWhileTheRowsStay) {
    auto& v = OpenPanel(Functions(3));
    Object* typeRow2 = v.myFuncTypeList[2];
    Object* nameRow2 = v.myFuncNameList[2];
    Object* nameRow1 = v.myFuncNameList[1];
    const float y2 = Place(nameRow2).y;
    ChooseName(1);
    PressPanelButton(v.deleteButton);

    ASSERT_EQ(v.ObjData.functions.size(), 2u);
    EXPECT_EQ(v.ObjData.functions[0].name, "f0");
    EXPECT_EQ(v.ObjData.functions[1].name, "f2");
    EXPECT_EQ(v.ObjData.functions[1].code, "self->counter = 2;\n");
    ASSERT_EQ(v.myFuncNameList.size(), 2u);
    ASSERT_EQ(v.myFuncTypeList.size(), 2u);
    ASSERT_EQ(v.myReturnList.size(), 2u);
    EXPECT_EQ(v.myFuncNameList[1], nameRow2);
    EXPECT_EQ(v.myFuncTypeList[1], typeRow2);
    EXPECT_FLOAT_EQ(Place(nameRow2).y, y2) << "the rows below keep their places";
    EXPECT_EQ(v.lastSelectedVariable, -1);
    const auto& objects = state->Objects();
    EXPECT_EQ(std::count(objects.begin(), objects.end(), nameRow1), 0) << "the deleted rows are gone";

    // With no choice left, a second press removes nothing.
    PressPanelButton(v.deleteButton);
    EXPECT_EQ(v.ObjData.functions.size(), 2u);
    EXPECT_EQ(v.myFuncNameList.size(), 2u);
}

}  // namespace

namespace {

// The panel as a properties window hosts it, worked by keys and clicks.
class FunctionPanelWindowTest : public FunctionWorld {
protected:
    State* OpenProperties(const std::string& name) {
        State* window = NewState("StencilObjPropLevel");
        auto* v = FindVariable<std::string>(window->GetLevel(), enum_objName);
        *v = name;
        *FindVariable<std::string>(window->GetLevel(), enum_objType) = "OBJECT";
        State::_currentState = window;
        window->GetLevel()->DoEvent("Init");
        State::_currentState = nullptr;
        AllFrame();
        panel = static_cast<Object*>(window->GetLevel()->GetMyObject("FunctionTable"));
        return window;
    }
    void TapTimes(SDL_Scancode key, int times) {
        for (int i = 0; i < times; ++i) Tap(key);
    }
};

TEST_F(FunctionPanelWindowTest, ANewWindowShowsTheEmptyPanelAndAWholeEditByKeysAndClicksReachesBothRecords) {
    OpenProperties("Player");
    auto* v = ObjectData::StencilFuncProp::Find(panel);
    ASSERT_NE(v, nullptr) << "the window hosts the functions panel";
    EXPECT_FALSE(v->hide);
    EXPECT_EQ(v->objName, "Player");
    EXPECT_EQ(v->hideOffset, 10.0f);
    EXPECT_TRUE(v->myFuncNameList.empty());
    for (Object* button : {v->applyButton, v->addButton, v->deleteButton}) ASSERT_NE(button, nullptr);

    AllClick(0.3f, 0.45f);  // Add Stencil
    ASSERT_EQ(v->myFuncNameList.size(), 1u);
    AllClick(-0.215f, 0.3875f);  // into "DEFAULT", at its first letters
    TapTimes(SDL_SCANCODE_DELETE, 8);
    TapTimes(SDL_SCANCODE_BACKSPACE, 8);
    EXPECT_EQ(RowText(v->myFuncNameList[0]), "");
    Type("OnPoke");
    EXPECT_EQ(RowText(v->myFuncNameList[0]), "OnPoke");
    AllClick(0.5f, 0.45f);  // confirm
    ASSERT_EQ(v->ObjData.functions.size(), 1u);
    EXPECT_EQ(v->ObjData.functions[0].name, "OnPoke");
    EXPECT_EQ(v->ObjData.kind, "OBJECT");

    AllClick(-0.1f, 0.3875f);
    Tap(SDL_SCANCODE_F6);
    State* block = ShowingOne("StencilCodeBlock");
    ASSERT_NE(block, nullptr);
    auto& d = *LevelData::StencilCodeBlock::Find(block->GetLevel());
    ASSERT_FALSE(d.fail);
    EXPECT_EQ(ObjectData::Text::Find(ObjectData::TextBox::Find(d.codeBlock)->textObject)->text, "");
    AllClick(0.0f, 0.0f);
    Type("return 1;");
    AllClick(0.5f, 0.45f);  // confirm
    EXPECT_EQ(d.ObjData.functions[0].name, "OnPoke");
    EXPECT_EQ(d.ObjData.functions[0].code, "return 1;");
    EXPECT_EQ(v->ObjData.functions[0].code, "return 1;") << "the panel's record too";
}

}  // namespace
