// The code-block window: the check of the chosen function, the editing and
// failed states, a commit, the write into the opening panel's record only
// while that panel still holds the function, and a restart.
#include <gtest/gtest.h>

#include "stencil/FunctionWorld.h"

using namespace functest;

namespace {

class CodeBlockTest : public FunctionWorld {
protected:
    // A code block opened by the panel on function index as name, the way
    // F6 opens it.
    LevelData::StencilCodeBlock::Variables& Open(std::int32_t index, const std::string& name) {
        dialog = CreateStateByName("StencilCodeBlock");
        EXPECT_NE(dialog, nullptr);
        auto* d = LevelData::StencilCodeBlock::Find(dialog->GetLevel());
        d->objName = "Player";
        d->objType = "OBJECT";
        d->functionIndex = index;
        d->desiredStencilName = name;
        State* remembered = State::_currentState;
        State::_currentState = dialog;
        Entity::_DoEvent("Init", panel, dialog->GetLevel());
        State::_currentState = remembered;
        AllFrame();
        return *d;
    }
    LevelData::StencilCodeBlock::Variables& D() const { return *LevelData::StencilCodeBlock::Find(dialog->GetLevel()); }
    std::string Title() const { return ObjectData::Text::Find(D().titleText)->text; }
    ObjectData::Text::Variables& Body() const {
        return *ObjectData::Text::Find(ObjectData::TextBox::Find(D().codeBlock)->textObject);
    }
    std::string Message() const {
        auto* t = ObjectData::Text::Find(D().message);
        return t != nullptr ? t->text : std::string();
    }
    void Confirm() {
        const D3DXVECTOR3 p = Place(D().applyButton);
        AllClick(p.x, p.y);
    }

    State* dialog = nullptr;
};

TEST_F(CodeBlockTest, ALongTitleShowsWholeInSmallerLetters) {
    CppData record = Functions(1);
    record.functions[0].name = "OnTouchedByTheLongestNamedThingInTheLevel";
    OpenPanel(record);
    Open(0, record.functions[0].name);
    const ObjectData::Text::Variables& title = *ObjectData::Text::Find(D().titleText);
    EXPECT_NE(title.text.find(record.functions[0].name), std::string::npos);
    EXPECT_TRUE(stenciltest::ShowsWhole(title)) << title.text;
}

TEST_F(CodeBlockTest, TheChosenFunctionShowsItsTitleBodyAndConfirm) {
    OpenPanel(Functions(3));
    auto& d = Open(1, "f1");
    EXPECT_FALSE(d.fail);
    // The title names the function first, then its stencil, and shows whole.
    EXPECT_EQ(Title(), "#0xC4BDAD#f1#0xA8A290# of Player");
    EXPECT_TRUE(ObjectData::Text::Find(d.titleText)->settings.colorize);
    EXPECT_EQ(Body().text, "self->counter = 1;\n");
    EXPECT_FLOAT_EQ(Body().settings.charHeight, 0.025f);
    ASSERT_NE(d.applyButton, nullptr);
    EXPECT_EQ(Label(d.applyButton), "confirm");
    EXPECT_EQ(*FindVariable<Entity*>(d.applyButton, enum_master), dialog->GetLevel());
    EXPECT_EQ(d.myFunc.name, "f1");
    EXPECT_EQ(d.ObjData.functions.size(), 3u) << "the panel's record, copied";
    EXPECT_NE(dialog->GetLevel()->GetMyObject("Cursor"), nullptr);
}

TEST_F(CodeBlockTest, AFunctionNotFoundShowsOnlyTheFailureText) {
    struct Case {
        std::int32_t index;
        std::string name;
    };
    for (const Case& c : {Case{1, "F1"}, Case{3, "f3"}, Case{-1, ""}, Case{0, "f1"}}) {
        SCOPED_TRACE(std::to_string(c.index) + " " + c.name);
        OpenPanel(Functions(3));
        auto& d = Open(c.index, c.name);
        EXPECT_TRUE(d.fail);
        EXPECT_EQ(Title(), "FAILED TO COMMIT THIS FUNCTION!");
        EXPECT_EQ(d.codeBlock, nullptr);
        EXPECT_EQ(d.applyButton, nullptr);
        // A label written in by hand changes nothing either.
        d.clickedStencil = "confirm";
        AllFrame();
        EXPECT_EQ(d.clickedStencil, "confirm");
        EXPECT_EQ(d.ObjData.functions[1].code, "self->counter = 1;\n");
        State::SetLevel(dialog, "Quit");
        AllFrame();
        panel->_Delete();
        AllFrame();
    }
}

TEST_F(CodeBlockTest, ConfirmWritesOnlyThatBodyInBothRecordsAndKeepsMyFunc) {
    auto& v = OpenPanel(Functions(3));
    auto& d = Open(1, "f1");
    AllClick(0.0f, 0.0f);  // the text box takes the keyboard
    Type("xyz");
    Confirm();
    const std::string edited = Body().text;
    EXPECT_NE(edited.find("xyz"), std::string::npos) << edited;
    EXPECT_EQ(d.ObjData.functions[1].code, edited);
    EXPECT_EQ(d.myFunc.code, "self->counter = 1;\n") << "myFunc keeps the body it opened with";
    for (std::size_t i : {0u, 2u}) EXPECT_EQ(d.ObjData.functions[i].code, Functions(3).functions[i].code);
    EXPECT_EQ(v.ObjData.functions[1].code, edited) << "the panel still holds f1 at index 1";
    EXPECT_EQ(v.ObjData.functions[0].code, "self->counter = 0;\n");
    // The functions tab was never committed: the stencil does not hold f1 yet.
    EXPECT_EQ(Message(), LevelData::StencilCodeBlock::kInPanelOnly);

    // Once it is, a commit keeps the body with the stencil and saves it.
    CppData committed = v.ObjData;
    committed.kind = "OBJECT";
    committed.typeName = "Player";
    StencilStore::CommitFunctions(committed);
    AllClick(0.0f, 0.0f);
    Type("w");
    Confirm();
    EXPECT_EQ(Message(), LevelData::StencilCodeBlock::kSaved);
    EXPECT_EQ(StencilStore::Record("OBJECT", "Player").functions[1].code, Body().text);
    EXPECT_EQ(d.clickedStencil, "nothing");
}

TEST_F(CodeBlockTest, ABodyTheOpenerNoLongerHoldsIsKeptInTheWindowAndSaidSo) {
    // The panel's list changed under the window: function 0 removed, so index
    // 1 is now "f2"; or the panel itself is gone.
    for (const bool panelGone : {false, true}) {
        SCOPED_TRACE(panelGone ? "panel gone" : "function moved");
        OpenPanel(Functions(3));
        auto& d = Open(1, "f1");
        if (panelGone) {
            panel->_Delete();
        } else {
            auto& functions = Panel().ObjData.functions;
            functions.erase(functions.begin());
        }
        AllFrame();
        Body().text = "return;";
        Confirm();
        EXPECT_EQ(d.ObjData.functions[1].code, "return;");
        if (!panelGone) {
            EXPECT_EQ(Panel().ObjData.functions[1].code, "self->counter = 2;\n");
        }
        EXPECT_EQ(Message(), LevelData::StencilCodeBlock::kKeptHere);
        State::SetLevel(dialog, "Quit");
        AllFrame();
        if (!panelGone) panel->_Delete();
        AllFrame();
    }
}

TEST_F(CodeBlockTest, ARestartTakesTheStencilIndexAndFailureFromThePreviousLevelOnly) {
    OpenPanel(Functions(3));
    Open(1, "f1");
    State::SetLevel(dialog, "Restart");
    AllFrame();
    auto& d = D();
    EXPECT_EQ(d.objName, "Player");
    EXPECT_EQ(d.objType, "OBJECT");
    EXPECT_EQ(d.functionIndex, 1);
    EXPECT_EQ(d.desiredStencilName, "") << "not taken";
    EXPECT_TRUE(d.ObjData.functions.empty()) << "the record is not taken";
    EXPECT_TRUE(d.fail) << "with no record the function is not found";
    EXPECT_EQ(Title(), "FAILED TO COMMIT THIS FUNCTION!");
}

}  // namespace
